#pragma once

#include <cstddef>

namespace morvane {

// How far a batch has come, for a front end to show. Counts are moves
// (a cycle or a case-only rename takes one move more than it has items), so
// that every phase ends exactly at its total.
struct BatchProgress {
    enum class Phase {
        renaming,    // the batch's own moves
        puttingBack, // after a failure or a stop: the moves made so far, undone in reverse
        undoing,     // a recorded batch being taken back
    };

    Phase phase = Phase::renaming;
    std::size_t done = 0;
    std::size_t total = 0;

    bool operator==(const BatchProgress&) const = default;
};

} // namespace morvane
