#pragma once

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <iosfwd>
#include <mutex>
#include <stop_token>
#include <thread>

namespace morvane::cli {

// While one lives, Ctrl+C (SIGINT) and SIGTERM ask the running batch to stop
// rather than end the process, so that whatever was already renamed is put
// back and no file is left under a temporary name. A signal handler may only
// set a flag; a small thread passes it on to the stop source. Further
// signals while the files are put back are counted, and reported on `err`
// when no progress line says it instead. One at a time per process.
class Interruption {
public:
    Interruption(bool enabled, std::ostream& err, bool reportsExtraSignals);
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    std::stop_token token() const { return source_.get_token(); }
    // The signals received so far.
    int count() const;

private:
    std::stop_source source_;
    std::ostream& err_;
    bool reportsExtraSignals_;
    bool enabled_;
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
    std::mutex lock_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread watcher_;
};

} // namespace morvane::cli
