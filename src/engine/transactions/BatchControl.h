#pragma once

#include "engine/transactions/BatchProgress.h"

#include <functional>
#include <stop_token>

namespace morvane {

// What a front end hands a running batch besides the work itself: a way to
// follow it and a way to stop it.
struct BatchControl {
    // Called on the batch's own thread when a phase starts (done 0) and after
    // every move, so it must be cheap: store the figures and draw them
    // elsewhere, at the pace of the screen. Within a phase `done` only grows,
    // and a phase that is not stopped ends at its total.
    std::function<void(const BatchProgress&)> progress;
    // Looked at before each move. Renaming treats a stop as a failure at that
    // point: everything already moved is put back, and putting back cannot be
    // stopped. An undo finishes the move in hand and leaves the rest.
    std::stop_token stop;

    void report(BatchProgress::Phase phase, std::size_t done, std::size_t total) const {
        if (progress) {
            progress(BatchProgress{phase, done, total});
        }
    }
    bool stopRequested() const { return stop.stop_requested(); }
};

} // namespace morvane
