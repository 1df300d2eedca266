#pragma once

#include "engine/core/FileItem.h"
#include "engine/filesystem/FileSystem.h"

#include <string>
#include <vector>

namespace morvane {

// Items for files and folders picked one by one (dropped on a window, or
// named on a command line), in the given order. Each parent folder is listed
// once, however many of its entries were picked. A path that cannot be read
// still gives an item, with dates at the epoch, size 0 and not a folder.
std::vector<FileItem> itemsFromPaths(const FileSystem& fileSystem, const std::vector<std::string>& paths);

} // namespace morvane
