#pragma once

#include "engine/core/FileItem.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// What a rule may read about the item whose name it computes. It refers to the
// caller's item rather than copying it: a context lives only for one
// application of the rules, and copying every item's strings would dominate
// planning time.
struct FileMetadata;

struct RuleContext {
    const FileItem& item; // the name here is the one on disk, not the intermediate result
    std::int64_t index;   // zero-based position among the items of the run
    std::int64_t total;   // number of items in the run
    // Zero-based position among the items of the run in the same folder
    // (`item.directory`), for numbering that starts again in each folder.
    std::int64_t folderIndex = 0;
    // What was read of the item's file for the rules (see ItemDetails);
    // null when nothing was.
    const FileMetadata* metadata = nullptr;
    // Where a rule's warnings about this item go (see ItemNote); null when
    // nobody listens.
    std::vector<std::string>* warnings = nullptr;

    // Says `message` about the item, once however often it is said.
    void warn(std::string message) const {
        if (warnings != nullptr &&
            std::find(warnings->begin(), warnings->end(), message) == warnings->end()) {
            warnings->push_back(std::move(message));
        }
    }
};

} // namespace morvane
