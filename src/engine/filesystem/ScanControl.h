#pragma once

#include <cstddef>
#include <functional>
#include <stop_token>

namespace morvane {

// How far a folder scan has come.
struct ScanProgress {
    std::size_t items = 0;   // items listed so far
    std::size_t folders = 0; // folders read so far, the root included

    bool operator==(const ScanProgress&) const = default;
};

// What the caller of a long scan holds on to: a stop, after which the scan
// returns what it has read so far, and a report of its progress, made on the
// scanning thread after each folder (and every few thousand items of a large
// one).
struct ScanControl {
    std::stop_token stop;
    std::function<void(const ScanProgress&)> progress;
};

} // namespace morvane
