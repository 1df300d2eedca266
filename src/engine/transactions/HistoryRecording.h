#pragma once

#include <string>

namespace morvane {

// Whether a batch (or an undo of one) was written to the history.
struct HistoryRecording {
    enum class Kind {
        recorded,
        notNeeded, // nothing changed on disk, so there is nothing to record
        disabled,  // the front end runs without a history
        failed,    // writing failed: the batch cannot be undone from the history
    };

    Kind kind = Kind::notNeeded;
    std::string error; // failed only: the history's own message

    bool operator==(const HistoryRecording&) const = default;
};

} // namespace morvane
