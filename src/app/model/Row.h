#pragma once

#include "engine/core/RenamePlan.h"
#include "engine/support/Date.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace morvane::app {

// What the status column shows for an entry: a label, a symbol name and, for
// some statuses, a help text.
struct RowStatus {
    std::string label;
    std::string symbol;
    std::optional<std::string> help;

    bool operator==(const RowStatus&) const = default;
};

// `isUnchecked`: the user excluded the item, rather than the search.
// `notes`: what the rules said about the item (what its file lacks), which
// the help text leads with.
RowStatus rowStatus(const RenamePlan::Entry& entry, bool isUnchecked, std::span<const ItemNote> notes = {});

// One row of the item table: a plan entry and its derived columns. A view of
// the model's current plan, valid until the next plan is published.
class Row {
public:
    explicit Row(const RenamePlan::Entry& entry) : entry_(&entry) {}

    const RenamePlan::Entry& entry() const { return *entry_; }
    const std::string& id() const { return entry_->item.id; }
    const std::string& name() const { return entry_->item.name; }
    // "Folder" for a folder, else the extension in upper case (empty without one).
    std::string kind() const;
    Date modified() const { return entry_->item.modified; }
    std::int64_t size() const { return entry_->item.size; }
    const std::string& path() const { return entry_->item.directory; }

private:
    const RenamePlan::Entry* entry_;
};

} // namespace morvane::app
