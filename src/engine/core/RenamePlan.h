#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/ItemNote.h"
#include "engine/core/RenameOperation.h"
#include "engine/core/RenameStatus.h"

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace morvane {

// What the rules make of a list of items: a plain value, computed without
// touching the disk, that the executor can later carry out.
struct RenamePlan {
    struct Entry {
        FileItem item;
        std::string newName; // for an excluded item, its current name
        RenameStatus status;
        bool isEdited = false; // the new name was written by hand, not made by the rules
        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;                    // in input order
    std::map<std::size_t, std::string> ruleErrors; // step index -> last message
    std::vector<std::size_t> changedCounts;        // per step
    std::vector<ItemNote> notes;                   // in entry order, then step order

    static RenamePlan empty() { return {}; }

    // The entries that will be renamed, in entry order.
    std::vector<RenameOperation> operations() const;
    bool hasConflicts() const;
    // No conflict, and something to do.
    bool canRename() const;
    // The notes about the entry at `entry`.
    std::span<const ItemNote> notesFor(std::size_t entry) const;
    // Whether a rule was bypassed for an included item because its file lacks
    // what the rule reads.
    bool hasItemErrors() const;

    bool operator==(const RenamePlan&) const = default;
};

} // namespace morvane
