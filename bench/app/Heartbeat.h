#pragma once

#include "../BenchClock.h"

#include <QObject>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace morvane::bench {

// A 1 ms timer on the main thread: the longest gap between two of its beats
// is the longest a window on that thread would not have responded.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            longest_ = std::max(longest_, milliseconds(now - last_));
            last_ = now;
        });
        timer_.start();
    }

    double longestStallMs() const { return longest_; }

private:
    QTimer timer_;
    Clock::time_point last_ = Clock::now();
    double longest_ = 0;
};

} // namespace morvane::bench
