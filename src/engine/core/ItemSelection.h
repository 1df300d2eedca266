#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/ItemOrder.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace morvane {

// What the user chose to see and rename of a list of items: the order, the
// unchecked items and the search text. Every front end plans over the same
// effective list, so a preview here and a rename elsewhere agree.
struct ItemSelection {
    ItemOrder order;
    std::unordered_set<std::string> unchecked; // item ids
    std::string searchText;

    // Sorted; unchecked items and those the search hides are excluded (they
    // stay in the list and hold their names against the others).
    std::vector<FileItem> effectiveItems(std::vector<FileItem> items) const;
};

} // namespace morvane
