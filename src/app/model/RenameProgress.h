#pragma once

#include "engine/transactions/BatchProgress.h"

#include <cstddef>
#include <string>

namespace morvane::app {

// What the window shows of a batch that has been running for a while.
struct RenameProgress {
    BatchProgress::Phase phase = BatchProgress::Phase::renaming;
    std::size_t done = 0;
    std::size_t total = 0;
    std::string phaseText;  // "Renaming", "Putting back", "Undoing"
    std::string countText;  // "%lld of %lld"
    std::string stopButton; // "Stop"
    // Putting back cannot be stopped, and a stop asked for is not asked again.
    bool canStop = false;

    static RenameProgress of(const BatchProgress& progress, bool stopRequested);

    bool operator==(const RenameProgress&) const = default;
};

} // namespace morvane::app
