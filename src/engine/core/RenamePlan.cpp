#include "engine/core/RenamePlan.h"

#include <algorithm>

namespace morvane {

std::vector<RenameOperation> RenamePlan::operations() const {
    std::vector<RenameOperation> result;
    for (const Entry& entry : entries) {
        if (entry.status.willRename()) {
            result.push_back({entry.item, entry.item.name, entry.newName});
        }
    }
    return result;
}

bool RenamePlan::hasConflicts() const {
    return std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return e.status.isConflict(); });
}

bool RenamePlan::canRename() const {
    return !hasConflicts() &&
           std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return e.status.willRename(); });
}

} // namespace morvane
