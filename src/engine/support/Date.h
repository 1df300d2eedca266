#pragma once

#include <chrono>

namespace morvane {

// The one point-in-time type of the engine: file dates, rule dates and
// transaction dates. Keeps the clock's full (sub-second) precision.
using Date = std::chrono::system_clock::time_point;

} // namespace morvane
