#pragma once

#include <condition_variable>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>

namespace morvane::cli {

// Says on the terminal what is going on when a scan or a batch takes longer
// than about a second, with the time so far, and clears the line when done.
// The engine reports no progress of its own, so elapsed time is what it shows.
class SlowTaskNotice {
public:
    SlowTaskNotice(std::ostream& err, bool enabled, std::string what);
    ~SlowTaskNotice();
    SlowTaskNotice(const SlowTaskNotice&) = delete;
    SlowTaskNotice& operator=(const SlowTaskNotice&) = delete;

private:
    std::ostream& err_;
    std::string what_;
    std::mutex lock_;
    std::condition_variable finished_;
    bool done_ = false;
    bool shown_ = false;
    std::thread watcher_;
};

} // namespace morvane::cli
