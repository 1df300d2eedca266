#include "engine/core/PlanSummary.h"

namespace morvane {

PlanSummary PlanSummary::of(const RenamePlan& plan) {
    PlanSummary summary;
    summary.items = plan.entries.size();
    for (const auto& entry : plan.entries) {
        summary.included += entry.status.kind != RenameStatus::Kind::excluded ? 1 : 0;
        summary.toRename += entry.status.willRename() ? 1 : 0;
        summary.unchanged += entry.status.kind == RenameStatus::Kind::unchanged ? 1 : 0;
        if (entry.status.isConflict()) {
            ++summary.conflicts;
            summary.conflictIds.push_back(entry.item.id);
        }
    }
    return summary;
}

} // namespace morvane
