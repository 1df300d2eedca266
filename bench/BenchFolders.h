#pragma once

#include "BenchItems.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace morvane::bench {

// Where the benchmarks keep what they write to disk: MORVANE_BENCH_DATA, else
// a folder of the build directory.
inline std::filesystem::path dataFolder() {
    const char* chosen = std::getenv("MORVANE_BENCH_DATA");
    return chosen != nullptr && *chosen != '\0' ? std::filesystem::path(chosen)
                                                : std::filesystem::path(MORVANE_BENCH_DATA_DIR);
}

// A folder of `count` empty files IMG_00001.JPG…, made once and then kept for
// later runs: on some disks, deleting a hundred thousand files and creating
// them again makes the creation slow for minutes. It is filled under another
// name and renamed into place, so an interrupted run never leaves a short one.
inline std::string photoFolder(std::size_t count) {
    namespace fs = std::filesystem;
    const fs::path folder = dataFolder() / ("scan-" + std::to_string(count));
    if (fs::is_directory(folder)) {
        return folder.string();
    }
    const fs::path partial = dataFolder() / ("scan-" + std::to_string(count) + ".partial-" +
                                             std::to_string(static_cast<long>(::getpid())));
    fs::remove_all(partial);
    fs::create_directories(partial);
    for (std::size_t i = 1; i <= count; ++i) {
        std::ofstream(partial / numberedName("IMG_", i));
    }
    fs::rename(partial, folder);
    return folder.string();
}

} // namespace morvane::bench
