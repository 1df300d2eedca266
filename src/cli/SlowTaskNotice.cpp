#include "cli/SlowTaskNotice.h"

#include "cli/Interruption.h"
#include "engine/support/Localization.h"

#include <chrono>
#include <ostream>

namespace morvane::cli {

SlowTaskNotice::SlowTaskNotice(std::ostream& err, bool enabled, std::string what,
                               const Interruption* interruption)
    : err_(err), what_(std::move(what)), interruption_(interruption) {
    if (!enabled) {
        return;
    }
    watcher_ = std::thread([this] {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        const auto interrupted = [this] { return interruption_ != nullptr && interruption_->count() > 0; };
        std::unique_lock guard(lock_);
        while (!finished_.wait_for(guard, milliseconds(100), [this] { return isFinished_; })) {
            if (steady_clock::now() - start < seconds(1) && !interrupted()) {
                continue;
            }
            const auto elapsed = duration_cast<seconds>(steady_clock::now() - start).count();
            err_ << "\r\x1b[2K" << line(elapsed) << std::flush;
            shown_ = true;
        }
    });
}

SlowTaskNotice::~SlowTaskNotice() {
    if (!watcher_.joinable()) {
        return;
    }
    {
        std::lock_guard guard(lock_);
        isFinished_ = true;
    }
    finished_.notify_all();
    watcher_.join();
    if (shown_) {
        err_ << "\r\x1b[2K" << std::flush;
    }
}

void SlowTaskNotice::report(const BatchProgress& progress) {
    done_.store(progress.done, std::memory_order_relaxed);
    total_.store(progress.total, std::memory_order_relaxed);
    phase_.store(static_cast<int>(progress.phase), std::memory_order_relaxed);
}

std::string SlowTaskNotice::line(long long seconds) const {
    const int phase = phase_.load(std::memory_order_relaxed);
    const int signals = interruption_ != nullptr ? interruption_->count() : 0;
    if (phase < 0) {
        return what_ + " (" + std::to_string(seconds) + " s)";
    }
    const auto done = static_cast<long long>(done_.load(std::memory_order_relaxed));
    const auto total = static_cast<long long>(total_.load(std::memory_order_relaxed));
    switch (static_cast<BatchProgress::Phase>(phase)) {
    case BatchProgress::Phase::renaming:
        return signals > 0 ? localized("Stopping\u2026")
                           : localized("Renaming\u2026") + " " + localized("%lld of %lld", done, total);
    case BatchProgress::Phase::puttingBack:
        return localized("Putting back\u2026") + " " + localized("%lld of %lld", done, total) +
               (signals > 1 ? " \u2014 " + localized("this cannot be stopped; please wait") : std::string());
    case BatchProgress::Phase::undoing:
        return signals > 0 ? localized("Stopping after this move\u2026")
                           : localized("Undoing\u2026") + " " + localized("%lld of %lld", done, total);
    }
    return what_;
}

} // namespace morvane::cli
