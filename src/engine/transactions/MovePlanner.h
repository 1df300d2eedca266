#pragma once

#include "engine/transactions/MoveOrder.h"
#include "engine/transactions/MoveStep.h"
#include "engine/transactions/PlannedRename.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Orders a batch of renames so that no move ever targets a name another item
// of the batch still holds: chains run from their free end, cycles and (on
// case-insensitive volumes) case-only renames go through temporary names.
// Names outside the batch are not looked at; the file system refuses those.
struct MovePlanner {
    // A rename to order, by its names held elsewhere; they must stay in place
    // while the planner runs.
    struct RenameRef {
        std::string_view directory;
        std::string_view from;
        std::string_view to;
    };

    std::function<bool(const std::string& directory)> isCaseSensitive;
    std::function<std::string()> temporaryName;

    // Deepest folders first, so a folder's contents move before the folder
    // itself is renamed; folders of equal depth in order of first appearance.
    // Asks `isCaseSensitive` once per folder, `temporaryName` once per
    // temporary move. Expects every rename to change its name, and distinct
    // `from` names within a folder.
    std::vector<MoveStep> plan(const std::vector<PlannedRename>& renames) const;
    // The same plan without copies of the names: for a caller that keeps the
    // renames' names anyway.
    MoveOrder order(const std::vector<RenameRef>& renames) const;
};

} // namespace morvane
