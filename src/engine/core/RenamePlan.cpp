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

std::span<const ItemNote> RenamePlan::notesFor(std::size_t entry) const {
    struct ByEntry {
        bool operator()(const ItemNote& note, std::size_t at) const { return note.entry < at; }
        bool operator()(std::size_t at, const ItemNote& note) const { return at < note.entry; }
    };
    const auto [first, last] = std::equal_range(notes.begin(), notes.end(), entry, ByEntry{});
    return {first, last};
}

bool RenamePlan::hasItemErrors() const {
    return std::any_of(notes.begin(), notes.end(), [&](const ItemNote& note) {
        return note.level == ItemNote::Level::error &&
               entries[note.entry].status.kind != RenameStatus::Kind::excluded;
    });
}

} // namespace morvane
