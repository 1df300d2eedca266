#pragma once

#include <string>

namespace morvane {

// One rename the planner is asked to order: an entry of `directory` from one
// name to another, both single path components.
struct PlannedRename {
    std::string directory;
    std::string from;
    std::string to;

    bool operator==(const PlannedRename&) const = default;
};

} // namespace morvane
