#pragma once

#include "engine/core/FileItem.h"

#include <cstdio>
#include <vector>

namespace morvane::bench {

// Camera-style names in one folder; one in ten carries an accented word (half
// of those decomposed, as some file systems and tools store them), which is
// about as mixed as real photo folders get.
inline std::vector<FileItem> cameraItems(std::size_t count) {
    std::vector<FileItem> items;
    items.reserve(count);
    const auto modified = Date{} + std::chrono::hours(24 * 365 * 54);
    for (std::size_t i = 0; i < count; ++i) {
        char name[64];
        if (i % 20 == 0) {
            std::snprintf(name, sizeof name, "Caf\u00e9 IMG_%05zu.JPG", i);
        } else if (i % 20 == 10) {
            std::snprintf(name, sizeof name, "Cafe\u0301 IMG_%05zu.JPG", i);
        } else {
            std::snprintf(name, sizeof name, "IMG_%05zu.JPG", i);
        }
        items.emplace_back(name, "/home/user/Pictures/Trip 2024", modified,
                           modified + std::chrono::seconds(i), static_cast<std::int64_t>(1000 + i), false,
                           true);
    }
    return items;
}

} // namespace morvane::bench
