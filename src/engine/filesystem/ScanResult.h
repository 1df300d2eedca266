#pragma once

#include "engine/core/FileItem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A folder scan: the items, and how many entries were left out because their
// names are not valid UTF-8 (such names cannot be shown, renamed safely or
// recorded in the history).
struct ScanResult {
    std::vector<FileItem> items;
    std::size_t unreadableNameCount = 0;
    // False when the scan was stopped: `items` then holds what was read
    // before, in the same order, and the rest of the tree is missing.
    bool isComplete = true;

    // "N items with unreadable names were left out", or empty when none were.
    std::string unreadableNamesMessage() const;
    // The same with the count as the caller writes numbers ("1,234").
    std::string unreadableNamesMessage(std::string_view writtenCount) const;

    bool operator==(const ScanResult&) const = default;
};

} // namespace morvane
