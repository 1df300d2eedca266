#pragma once

#include <cstddef>
#include <string>

namespace morvane {

// One move of a plan, inside one folder.
struct MoveStep {
    std::string directory;
    std::string from;
    std::string to;
    std::size_t operation = 0; // index of the PlannedRename this move serves
    bool isTemporary = false;  // a move to a temporary name, not to the wanted one

    bool operator==(const MoveStep&) const = default;
};

} // namespace morvane
