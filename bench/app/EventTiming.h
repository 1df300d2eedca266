#pragma once

#include "../BenchClock.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

// Timing the window's main thread: every event it delivers, by the wall clock
// and in the thread's own processor time, and the steps a user takes.
namespace morvane::bench {

// The main thread's own processor time so far: unlike the wall clock, it
// does not count the time the thread waits while other work has the cores.
inline double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Times every event at the outermost delivery: what the main thread spends
// on it, by the wall clock and in processor time.
class TimedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (depth_ > 0) {
            return QApplication::notify(receiver, event);
        }
        ++depth_;
        const auto start = Clock::now();
        const double startCpu = threadMilliseconds();
        const bool result = QApplication::notify(receiver, event);
        durations.push_back(milliseconds(Clock::now() - start));
        cpu.push_back(threadMilliseconds() - startCpu);
        --depth_;
        return result;
    }

    void clear() {
        durations.clear();
        cpu.clear();
    }

    std::vector<double> durations;
    std::vector<double> cpu;

private:
    int depth_ = 0;
};

inline void runFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

template <typename Condition>
bool runUntil(Condition condition, int ms = 30000) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!condition() && Clock::now() < end) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return condition();
}

struct Figures {
    std::vector<double> events;
    std::vector<double> steps;
    std::vector<double> eventsCpu;

    void collect(const TimedApplication& application) {
        events.insert(events.end(), application.durations.begin(), application.durations.end());
        eventsCpu.insert(eventsCpu.end(), application.cpu.begin(), application.cpu.end());
    }
};

inline double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

inline void report(const char* what, const Figures& figures) {
    std::printf("%-34s per event: median %6.2f ms, p99 %6.2f ms, max %6.2f ms (%zu events)\n", what,
                percentile(figures.events, 0.5), percentile(figures.events, 0.99),
                figures.events.empty() ? 0.0
                                       : *std::max_element(figures.events.begin(), figures.events.end()),
                figures.events.size());
    std::printf("%-34s processor: median %6.2f ms, p99 %6.2f ms, max %6.2f ms\n", "",
                percentile(figures.eventsCpu, 0.5), percentile(figures.eventsCpu, 0.99),
                figures.eventsCpu.empty()
                    ? 0.0
                    : *std::max_element(figures.eventsCpu.begin(), figures.eventsCpu.end()));
    if (figures.steps.empty()) {
        return;
    }
    std::printf("%-34s per step:  median %6.2f ms, max %6.2f ms (%zu steps)\n", "",
                percentile(figures.steps, 0.5),
                figures.steps.empty() ? 0.0 : *std::max_element(figures.steps.begin(), figures.steps.end()),
                figures.steps.size());
}

} // namespace morvane::bench
