#pragma once

#include "app/model/ListRow.h"
#include "app/model/RuleEntry.h"
#include "engine/core/RenamePipeline.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace morvane::app {

// A window's ordered rule list and the operations of the rule panel on it.
// The order is the order of application. Every operation names an entry by
// id; an id that is not in the list changes nothing (the operation says
// whether it changed the list, so the owner knows when to react).
class RuleList {
public:
    RuleList() = default;
    explicit RuleList(std::vector<RuleEntry> entries) : entries_(std::move(entries)) {}

    // What a new window starts with: "IMG_" → "santa-cruz-", ignoring case.
    static RuleList initial();
    // A preset's rules: new ids, the preset's switches, all collapsed.
    static RuleList fromPipeline(const RenamePipeline& pipeline);

    const std::vector<RuleEntry>& entries() const { return entries_; }
    std::optional<std::size_t> indexOf(const Uuid& id) const;
    const RuleEntry* find(const Uuid& id) const;

    // The default rule of `kind`, enabled and expanded, at the end.
    const RuleEntry& add(RuleKind kind);
    // A copy with a new id right below the first entry with `id`.
    bool duplicate(const Uuid& id);
    bool remove(const Uuid& id);
    // Swaps the entry with the one `offset` places away; nothing past either end.
    bool move(const Uuid& id, std::ptrdiff_t offset);
    // Takes the entry out and puts it back before the entry now at
    // `destination` (the end when it is the number of entries): what a drag
    // of a card does. Dropping it where it already is changes nothing.
    bool place(const Uuid& id, std::size_t destination);
    // The default rule of the entry's kind; id, switch and expansion stay.
    bool reset(const Uuid& id);
    void setAllExpanded(bool expanded);
    // The one way to change an entry in place (its id cannot change).
    bool edit(const Uuid& id, const std::function<void(RuleEntry&)>& change);

    // The pairs of a Replace or Regex entry as editor rows, each with a new id.
    std::optional<ListRows> listRows(const Uuid& id) const;
    // The rows back into the entry's pairs; its other setting stays. Only
    // for Replace and Regex entries.
    bool setListRows(const Uuid& id, const ListRows& rows);

    // One step per entry, disabled ones included.
    RenamePipeline pipeline() const;
    // The entries' ids, in the same order.
    std::vector<Uuid> ids() const;
    std::size_t activeCount() const;

    bool operator==(const RuleList&) const = default;

private:
    RuleEntry* findMutable(const Uuid& id);

    std::vector<RuleEntry> entries_;
};

} // namespace morvane::app
