#include "app/model/Preview.h"

#include "engine/core/NameFilter.h"
#include "engine/filesystem/NamesTakenOnDisk.h"
#include "engine/metadata/MetadataCache.h"
#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane::app {
namespace {

std::shared_ptr<const PlanningList> sortedList(const PreviewInput& input) {
    if (input.sorted && input.sorted->itemsVersion == input.itemsVersion &&
        input.sorted->order == input.order) {
        return input.sorted;
    }
    auto list = std::make_shared<PlanningList>();
    list->itemsVersion = input.itemsVersion;
    list->order = input.order;
    // Folders are listed in name order, the default order: then the loaded
    // list itself serves, without a copy.
    if (input.order.isSorted(*input.items)) {
        list->items = input.items;
    } else {
        auto sorted = std::make_shared<ItemList>(*input.items);
        input.order.sort(*sorted);
        list->items = std::move(sorted);
    }
    return list;
}

std::shared_ptr<const PlanningList> planningList(const PreviewInput& input,
                                                 const std::shared_ptr<const PlanningList>& sorted) {
    const auto& cached = input.planning;
    if (cached && cached->itemsVersion == input.itemsVersion && cached->order == input.order &&
        cached->uncheckedVersion == input.uncheckedVersion && cached->searchText == input.searchText) {
        return cached;
    }
    auto list = std::make_shared<PlanningList>(*sorted);
    list->uncheckedVersion = input.uncheckedVersion;
    list->searchText = input.searchText;
    const bool allIncluded = std::all_of(sorted->items->begin(), sorted->items->end(),
                                         [](const FileItem& item) { return item.isIncluded; });
    const bool searching = !unicode::trimmedHorizontalSpace(input.searchText).empty();
    if (input.unchecked->empty() && !searching && allIncluded) {
        return list;
    }
    ItemList items = *sorted->items;
    for (FileItem& item : items) {
        item.isIncluded = !input.unchecked->contains(item.id);
    }
    list->items = std::make_shared<const ItemList>(
        NameFilter::apply(input.searchText, std::move(items),
                          input.root ? std::optional<std::string_view>(*input.root) : std::nullopt));
    return list;
}

} // namespace

Planner pipelinePlanner() {
    return [](const RenamePipeline& pipeline, const ItemList& items, std::stop_token stop) {
        return pipeline.plan(items, std::move(stop));
    };
}

std::optional<std::size_t> Preview::stepOf(const Uuid& id) const {
    const auto found = std::find(ruleIds.begin(), ruleIds.end(), id);
    return found == ruleIds.end() ? std::nullopt : std::optional(std::size_t(found - ruleIds.begin()));
}

std::optional<PlanPosition> positionIn(const RenamePlan& plan, const std::string& id) {
    const auto found = std::find_if(plan.entries.begin(), plan.entries.end(),
                                    [&](const RenamePlan::Entry& entry) { return entry.item.id == id; });
    if (found == plan.entries.end()) {
        return std::nullopt;
    }
    PlanPosition position;
    position.row = static_cast<std::size_t>(found - plan.entries.begin());
    for (auto entry = plan.entries.begin(); entry != found; ++entry) {
        if (entry->status.kind != RenameStatus::Kind::excluded) {
            ++position.includedIndex;
            position.folderIndex += entry->item.directory == found->item.directory ? 1 : 0;
        }
    }
    return position;
}

std::shared_ptr<const Preview> computePreview(const PreviewInput& input, const Planner& planner,
                                              std::stop_token stop) {
    auto preview = std::make_shared<Preview>();
    preview->sorted = sortedList(input);
    if (stop.stop_requested()) {
        return nullptr;
    }
    preview->planning = planningList(input, preview->sorted);
    if (stop.stop_requested()) {
        return nullptr;
    }
    // Only files the rules read, and each once: what was read stays in the
    // cache, so later edits of the rules find it there.
    const ItemDetails wanted = input.pipeline.needsDetails();
    if (input.metadata && wanted.contents() &&
        !input.metadata->read(*preview->planning->items, wanted, stop)) {
        return nullptr;
    }
    auto plan = planner(input.pipeline, *preview->planning->items, stop);
    if (!plan || stop.stop_requested()) {
        return nullptr;
    }
    if (input.looseFilesDisk) {
        markNamesTakenOnDisk(*plan, *input.looseFilesDisk);
        if (stop.stop_requested()) {
            return nullptr;
        }
    }
    preview->plan = std::move(*plan);
    preview->ruleIds = input.ruleIds;
    for (const PipelineStep& step : input.pipeline.steps) {
        preview->ruleKinds.push_back(step.rule->kind());
    }
    preview->summary = PlanSummary::of(preview->plan);
    preview->conflictIDs.insert(preview->summary.conflictIds.begin(), preview->summary.conflictIds.end());
    const auto& entries = preview->plan.entries;
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const auto kind = entries[row].status.kind;
        if (kind != RenameStatus::Kind::unchanged && kind != RenameStatus::Kind::excluded) {
            preview->changedRows.push_back(static_cast<std::uint32_t>(row));
        }
        if (entries[row].status.willRename()) {
            preview->operationRows.push_back(static_cast<std::uint32_t>(row));
        } else if (entries[row].status.isConflict()) {
            preview->conflictRows.push_back(static_cast<std::uint32_t>(row));
        }
        preview->editedCount += entries[row].isEdited ? 1 : 0;
    }
    preview->selectedID = input.selectedID;
    if (input.selectedID) {
        if (const auto position = positionIn(preview->plan, *input.selectedID)) {
            preview->selectedRow = position->row;
            preview->selectedIncludedIndex = position->includedIndex;
            preview->selectedFolderIndex = position->folderIndex;
        }
    }
    return preview;
}

} // namespace morvane::app
