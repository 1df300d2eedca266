#pragma once

#include "engine/transactions/MoveStep.h"
#include "engine/transactions/PlannedRename.h"

#include <functional>
#include <string>
#include <vector>

namespace morvane {

// Orders a batch of renames so that no move ever targets a name another item
// of the batch still holds: chains run from their free end, cycles and (on
// case-insensitive volumes) case-only renames go through temporary names.
// Names outside the batch are not looked at; the file system refuses those.
struct MovePlanner {
    std::function<bool(const std::string& directory)> isCaseSensitive;
    std::function<std::string()> temporaryName;

    // Deepest folders first, so a folder's contents move before the folder
    // itself is renamed; folders of equal depth in order of first appearance.
    // Asks `isCaseSensitive` once per folder, `temporaryName` once per
    // temporary move. Expects every rename to change its name, and distinct
    // `from` names within a folder.
    std::vector<MoveStep> plan(const std::vector<PlannedRename>& renames) const;
    // The same plan, with the renames' strings moved into the steps rather
    // than copied: for a caller that has no further use for them.
    std::vector<MoveStep> plan(std::vector<PlannedRename>&& renames) const;
};

} // namespace morvane
