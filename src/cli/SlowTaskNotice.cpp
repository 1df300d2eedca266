#include "cli/SlowTaskNotice.h"

#include <chrono>
#include <ostream>

namespace morvane::cli {

SlowTaskNotice::SlowTaskNotice(std::ostream& err, bool enabled, std::string what)
    : err_(err), what_(std::move(what)) {
    if (!enabled) {
        return;
    }
    watcher_ = std::thread([this] {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        std::unique_lock guard(lock_);
        if (finished_.wait_for(guard, seconds(1), [this] { return done_; })) {
            return;
        }
        do {
            const auto elapsed = duration_cast<seconds>(steady_clock::now() - start).count();
            err_ << "\r" << what_ << " (" << elapsed << " s)" << std::flush;
            shown_ = true;
        } while (!finished_.wait_for(guard, milliseconds(500), [this] { return done_; }));
    });
}

SlowTaskNotice::~SlowTaskNotice() {
    if (!watcher_.joinable()) {
        return;
    }
    {
        std::lock_guard guard(lock_);
        done_ = true;
    }
    finished_.notify_all();
    watcher_.join();
    if (shown_) {
        err_ << "\r\x1b[2K" << std::flush;
    }
}

} // namespace morvane::cli
