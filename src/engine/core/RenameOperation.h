#pragma once

#include "engine/core/FileItem.h"

#include <string>

namespace morvane {

// One rename the plan asks for: the item (with its folder) from its current
// name to its new one.
struct RenameOperation {
    FileItem item;
    std::string from;
    std::string to;

    bool operator==(const RenameOperation&) const = default;
};

} // namespace morvane
