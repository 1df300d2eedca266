#pragma once

#include "engine/core/RenamePlan.h"

#include <cstddef>
#include <string>
#include <vector>

namespace morvane {

// The figures a front end shows under a preview, and the items that stand in
// the way of renaming.
struct PlanSummary {
    std::size_t items = 0;
    std::size_t included = 0; // not excluded
    std::size_t toRename = 0;
    std::size_t conflicts = 0;
    std::vector<std::string> conflictIds; // invalid or duplicate, in plan order
    std::size_t unchanged = 0;

    static PlanSummary of(const RenamePlan& plan);

    bool operator==(const PlanSummary&) const = default;
};

} // namespace morvane
