#include "cli/Interruption.h"

#include "engine/support/Localization.h"

#include <chrono>
#include <ostream>

namespace morvane::cli {
namespace {

std::atomic<int> signalsReceived{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free counter");

void onSignal(int) {
    signalsReceived.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

Interruption::Interruption(bool enabled, std::ostream& err, bool reportsExtraSignals)
    : err_(err), reportsExtraSignals_(reportsExtraSignals), enabled_(enabled) {
    if (!enabled_) {
        return;
    }
    signalsReceived.store(0);
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
    watcher_ = std::thread([this] {
        int seen = 0;
        std::unique_lock guard(lock_);
        while (!finished_.wait_for(guard, std::chrono::milliseconds(20), [this] { return done_; })) {
            const int now = signalsReceived.load(std::memory_order_relaxed);
            if (now > 0) {
                source_.request_stop();
            }
            if (now > 1 && now != seen && reportsExtraSignals_) {
                err_ << "morvane-cli: "
                     << localized("Stopping: the files already renamed are being put back. Please wait.")
                     << "\n"
                     << std::flush;
            }
            seen = now;
        }
    });
}

Interruption::~Interruption() {
    if (!enabled_) {
        return;
    }
    {
        std::lock_guard guard(lock_);
        done_ = true;
    }
    finished_.notify_all();
    watcher_.join();
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
}

int Interruption::count() const {
    return enabled_ ? signalsReceived.load(std::memory_order_relaxed) : 0;
}

} // namespace morvane::cli
