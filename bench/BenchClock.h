#pragma once

#include <chrono>

namespace morvane::bench {

// The clock whole-process and window benchmarks time with.
using Clock = std::chrono::steady_clock;

inline double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace morvane::bench
