#pragma once

#include "engine/core/FileItem.h"

#include <string>
#include <vector>

namespace morvane::testing {

// A file item in `directory` with neutral metadata.
inline FileItem item(std::string name, std::string directory = "/d", bool included = true) {
    return FileItem(std::move(name), std::move(directory), Date{}, Date{}, 0, false, included);
}

inline std::vector<FileItem> items(std::initializer_list<const char*> names, std::string directory = "/d") {
    std::vector<FileItem> result;
    for (const char* name : names) {
        result.push_back(item(name, directory));
    }
    return result;
}

} // namespace morvane::testing
