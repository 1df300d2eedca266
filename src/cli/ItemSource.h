#pragma once

#include "cli/CliOptions.h"
#include "engine/core/FileItem.h"
#include "engine/filesystem/FileSystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// The items named on the command line: one folder means its contents,
// anything else means those paths themselves.
struct ItemSource {
    std::vector<FileItem> items;
    std::optional<std::string> folder;  // set when a folder was scanned
    std::string unreadableNamesMessage; // empty unless entries with non-UTF-8 names were left out

    // Throws UsageError for a path that does not exist or a folder that cannot be read.
    static ItemSource read(const FileSystem& fileSystem, const CliOptions& options,
                           const std::string& workingDirectory);
};

// `path` made absolute against `workingDirectory`, without "." and ".." parts
// or a trailing "/".
std::string absolutePath(const std::string& path, const std::string& workingDirectory);

} // namespace morvane::cli
