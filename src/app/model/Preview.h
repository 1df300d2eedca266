#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/ItemOrder.h"
#include "engine/core/PlanSummary.h"
#include "engine/core/RenamePipeline.h"
#include "engine/core/RenamePlan.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/support/Uuid.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_set>
#include <vector>

namespace morvane {
class MetadataCache;
} // namespace morvane

namespace morvane::app {

using ItemList = std::vector<FileItem>;
using IdSet = std::unordered_set<std::string>;

// A list of items that goes into planning, with what it was made from, so the
// next computation can tell whether it still holds.
struct PlanningList {
    std::uint64_t itemsVersion = 0;
    ItemOrder order;
    std::uint64_t uncheckedVersion = 0; // unused for the merely sorted list
    std::string searchText;             // likewise
    std::shared_ptr<const ItemList> items;
};

// Everything one preview computation reads: shared, immutable snapshots taken
// on the main thread, so the computation touches no model state.
struct PreviewInput {
    std::shared_ptr<const ItemList> items; // in load order
    std::uint64_t itemsVersion = 0;
    ItemOrder order;
    std::shared_ptr<const IdSet> unchecked;
    std::uint64_t uncheckedVersion = 0;
    std::string searchText;
    RenamePipeline pipeline;
    std::vector<Uuid> ruleIds; // the rule list's entry of each step
    // Where what the rules read of the files is read into before planning.
    std::shared_ptr<MetadataCache> metadata;
    std::optional<std::string> selectedID;
    // The opened folder: the search also finds items by their folder written from it.
    std::optional<std::string> root;
    // Loose files only: where new names are looked up among the other
    // entries of their folders, as renaming will find them.
    std::shared_ptr<const FileSystem> looseFilesDisk;
    // The lists of the last computation, reused while their inputs hold.
    std::shared_ptr<const PlanningList> sorted;
    std::shared_ptr<const PlanningList> planning;
};

// A finished preview: the plan and every per-row figure the window shows,
// all computed off the main thread. Immutable once published.
struct Preview {
    RenamePlan plan;
    std::vector<Uuid> ruleIds;       // the entry of each step of the plan
    std::vector<RuleKind> ruleKinds; // the kind of each step's rule
    // The step of an entry in this plan; none for an entry it was not made with.
    std::optional<std::size_t> stepOf(const Uuid& id) const;
    PlanSummary summary;
    IdSet conflictIDs;
    // Positions of the entries that are neither unchanged nor excluded.
    std::vector<std::uint32_t> changedRows;
    // Positions of the entries that will be renamed, in plan order.
    std::vector<std::uint32_t> operationRows;
    // Positions of the entries in conflict, in plan order.
    std::vector<std::uint32_t> conflictRows;
    // Entries whose new names were written by hand.
    std::size_t editedCount = 0;
    // The entry of the input's selected id, and its position among the included entries.
    std::optional<std::string> selectedID;
    std::optional<std::size_t> selectedRow;
    std::size_t selectedIncludedIndex = 0;
    std::size_t selectedFolderIndex = 0;

    std::shared_ptr<const PlanningList> sorted;
    std::shared_ptr<const PlanningList> planning;
};

// Plans `items` through `pipeline`, giving up (nothing) once `stop` is requested.
using Planner =
    std::function<std::optional<RenamePlan>(const RenamePipeline&, const ItemList&, std::stop_token)>;

// The engine's planning.
Planner pipelinePlanner();

// Sorts, checks and filters the items (reusing the input's lists where they
// still hold), reads what the rules use of files not yet read, plans them
// and derives the figures. Nothing when stopped.
std::shared_ptr<const Preview> computePreview(const PreviewInput& input, const Planner& planner,
                                              std::stop_token stop);

// Where a selected id sits in a plan: its entry, and its position among the
// entries that are not excluded, of the whole plan and of its folder.
struct PlanPosition {
    std::size_t row = 0;
    std::size_t includedIndex = 0;
    std::size_t folderIndex = 0;
};
std::optional<PlanPosition> positionIn(const RenamePlan& plan, const std::string& id);

} // namespace morvane::app
