#pragma once

#include "engine/transactions/BatchProgress.h"

#include <mutex>
#include <optional>

namespace morvane::app {

// The latest figures of a running batch: written by the batch's thread after
// every move, read by the window's thread at the pace of the screen.
class ProgressRelay {
public:
    void store(const BatchProgress& progress) {
        std::lock_guard guard(lock_);
        latest_ = progress;
    }
    std::optional<BatchProgress> latest() const {
        std::lock_guard guard(lock_);
        return latest_;
    }

private:
    mutable std::mutex lock_;
    std::optional<BatchProgress> latest_;
};

} // namespace morvane::app
