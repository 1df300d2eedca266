#pragma once

#include "engine/core/FileItem.h"

#include <cstdio>
#include <string>
#include <vector>

namespace morvane::bench {

// "IMG_00042.JPG" and the like: `prefix`, the number with at least five
// digits, and `extension`.
inline std::string numberedName(const char* prefix, std::size_t number, const char* extension = ".JPG") {
    char name[64];
    std::snprintf(name, sizeof name, "%s%05zu%s", prefix, number, extension);
    return name;
}

// Camera-style names in one folder; one in ten carries an accented word (half
// of those decomposed, as some file systems and tools store them), which is
// about as mixed as real photo folders get.
inline std::vector<FileItem> cameraItems(std::size_t count) {
    std::vector<FileItem> items;
    items.reserve(count);
    const auto modified = Date{} + std::chrono::hours(24 * 365 * 54);
    for (std::size_t i = 0; i < count; ++i) {
        const char* prefix = i % 20 == 0 ? "Caf\u00e9 IMG_" : i % 20 == 10 ? "Cafe\u0301 IMG_" : "IMG_";
        items.emplace_back(numberedName(prefix, i), "/home/user/Pictures/Trip 2024", modified,
                           modified + std::chrono::seconds(i), static_cast<std::int64_t>(1000 + i), false,
                           true);
    }
    return items;
}

} // namespace morvane::bench
