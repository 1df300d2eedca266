#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/ItemDetails.h"
#include "engine/core/PipelineStep.h"
#include "engine/core/RenamePlan.h"
#include "engine/core/StepTrace.h"

#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>
#include <vector>

namespace morvane {

// New names the user wrote by hand, by item id: each stands in for what the
// rules make of that item, and is checked like any other new name.
using EditedNames = std::unordered_map<std::string, std::string>;
class MetadataCache;

// The ordered list of rules and the pure computations over it. Planning reads
// no file system and never fails as a whole: a rule that throws for an item is
// bypassed for that item only.
class RenamePipeline {
public:
    std::vector<PipelineStep> steps;
    // Shared, since a pipeline is copied for every computation of a preview.
    std::shared_ptr<const EditedNames> editedNames;
    // What has been read of the items' files for rules that use their
    // contents (see needsDetails); looked up, never read from, by planning.
    // None: the rules see no metadata.
    std::shared_ptr<const MetadataCache> metadata;

    RenamePipeline() = default;
    explicit RenamePipeline(std::vector<PipelineStep> steps_) : steps(std::move(steps_)) {}
    // Every rule becomes an enabled step, in the given order.
    static RenamePipeline fromRules(const std::vector<std::shared_ptr<const RenameRule>>& rules);

    RenamePlan plan(const std::vector<FileItem>& items) const;
    // The same, for a caller that may give up: `stop` is checked every few
    // hundred items, so a superseded plan of a million items ends within
    // milliseconds. Nothing when it was stopped.
    std::optional<RenamePlan> plan(const std::vector<FileItem>& items, std::stop_token stop) const;
    // The same with the items moved into the plan rather than copied, for a
    // caller that has no further use for them: a large list is then never
    // held twice.
    RenamePlan plan(std::vector<FileItem>&& items) const;
    std::optional<RenamePlan> plan(std::vector<FileItem>&& items, std::stop_token stop) const;

    // What the enabled steps read of the items besides their names (see
    // RenameRule::needsDetails).
    ItemDetails needsDetails() const;

    // One item's name through every step (the rules' name, edited or not);
    // `total` defaults to index + 1, `folderIndex` to `index`.
    std::vector<StepTrace> trace(const FileItem& item, std::int64_t index,
                                 std::optional<std::int64_t> total = std::nullopt,
                                 std::optional<std::int64_t> folderIndex = std::nullopt) const;

    // The stem each item has just before step `stepIndex` (failing rules are
    // skipped silently), numbered as `plan` numbers the items: an excluded
    // item keeps its stem and does not count. Edited names play no part: the
    // rules still receive every item.
    std::vector<std::string> inputStems(std::size_t stepIndex, const std::vector<FileItem>& items) const;

private:
    template <typename Items>
    std::optional<RenamePlan> planItems(Items&& items, std::stop_token stop) const;
};

} // namespace morvane
