#pragma once

#include "engine/transactions/BatchProgress.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>

namespace morvane::cli {

class Interruption;

// Says on the terminal what is going on when a scan or a batch takes longer
// than about a second, on one line that it redraws ten times a second and
// clears when done. A batch reports its figures (`report`, cheap enough for
// every move: it only stores them); until it does, the time so far is shown.
// With an interruption, a stop asked for shows at once.
class SlowTaskNotice {
public:
    SlowTaskNotice(std::ostream& err, bool enabled, std::string what,
                   const Interruption* interruption = nullptr);
    ~SlowTaskNotice();
    SlowTaskNotice(const SlowTaskNotice&) = delete;
    SlowTaskNotice& operator=(const SlowTaskNotice&) = delete;

    // From the batch's thread.
    void report(const BatchProgress& progress);

private:
    std::string line(long long seconds) const;

    std::ostream& err_;
    std::string what_;
    const Interruption* interruption_;
    std::atomic<int> phase_{-1}; // a BatchProgress::Phase once reported
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
    std::mutex lock_;
    std::condition_variable finished_;
    bool isFinished_ = false;
    bool shown_ = false;
    std::thread watcher_;
};

} // namespace morvane::cli
