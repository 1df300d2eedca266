#pragma once

#include "engine/core/FileItem.h"
#include "engine/filesystem/FileSystem.h"

#include <string>
#include <vector>

namespace morvane {

// Items for files and folders picked one by one (dropped on a window, or
// named on a command line), in the given order. Paths that name the same
// entry (spelled with "." or "..", a trailing "/", through a link to its
// folder, or in other letter case on a volume that ignores it) give one item,
// at the first of them; an item's id is its path without "." and "..". Each
// parent folder is listed once, however many of its entries were picked. A
// path that cannot be read still gives an item, with dates at the epoch, size
// 0 and not a folder.
std::vector<FileItem> itemsFromPaths(const FileSystem& fileSystem, const std::vector<std::string>& paths);

} // namespace morvane
