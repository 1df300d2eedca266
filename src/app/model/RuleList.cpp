#include "app/model/RuleList.h"

#include <algorithm>

namespace morvane::app {

RuleList RuleList::initial() {
    return RuleList({RuleEntry::make(ReplaceRule("IMG_", "santa-cruz-", false))});
}

RuleList RuleList::fromPipeline(const RenamePipeline& pipeline) {
    std::vector<RuleEntry> entries;
    for (const PipelineStep& step : pipeline.steps) {
        if (auto rule = anyRule(*step.rule)) {
            entries.push_back(RuleEntry::make(std::move(*rule), step.isEnabled, false));
        }
    }
    return RuleList(std::move(entries));
}

std::optional<std::size_t> RuleList::indexOf(const Uuid& id) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const RuleEntry& entry) { return entry.id == id; });
    if (found == entries_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - entries_.begin());
}

const RuleEntry* RuleList::find(const Uuid& id) const {
    const auto index = indexOf(id);
    return index ? &entries_[*index] : nullptr;
}

RuleEntry* RuleList::findMutable(const Uuid& id) {
    const auto index = indexOf(id);
    return index ? &entries_[*index] : nullptr;
}

const RuleEntry& RuleList::add(RuleKind kind) {
    entries_.push_back(RuleEntry::make(RuleEntry::defaultRule(kind)));
    return entries_.back();
}

bool RuleList::duplicate(const Uuid& id) {
    const auto index = indexOf(id);
    if (!index) {
        return false;
    }
    RuleEntry copy = entries_[*index];
    copy.id = Uuid::random();
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(*index) + 1, std::move(copy));
    return true;
}

bool RuleList::remove(const Uuid& id) {
    return std::erase_if(entries_, [&](const RuleEntry& entry) { return entry.id == id; }) > 0;
}

bool RuleList::move(const Uuid& id, std::ptrdiff_t offset) {
    const auto index = indexOf(id);
    if (!index) {
        return false;
    }
    const auto target = static_cast<std::ptrdiff_t>(*index) + offset;
    if (target < 0 || target >= static_cast<std::ptrdiff_t>(entries_.size())) {
        return false;
    }
    std::swap(entries_[*index], entries_[static_cast<std::size_t>(target)]);
    return true;
}

bool RuleList::place(const Uuid& id, std::size_t destination) {
    const auto index = indexOf(id);
    if (!index || destination > entries_.size() || destination == *index || destination == *index + 1) {
        return false;
    }
    const auto from = entries_.begin() + static_cast<std::ptrdiff_t>(*index);
    const auto to = entries_.begin() + static_cast<std::ptrdiff_t>(destination);
    if (destination < *index) {
        std::rotate(to, from, from + 1);
    } else {
        std::rotate(from, from + 1, to);
    }
    return true;
}

bool RuleList::reset(const Uuid& id) {
    return edit(id, [](RuleEntry& entry) { entry.rule = RuleEntry::defaultRule(kindOf(entry.rule)); });
}

void RuleList::setAllExpanded(bool expanded) {
    for (RuleEntry& entry : entries_) {
        entry.isExpanded = expanded;
    }
}

bool RuleList::edit(const Uuid& id, const std::function<void(RuleEntry&)>& change) {
    RuleEntry* entry = findMutable(id);
    if (entry == nullptr) {
        return false;
    }
    change(*entry);
    entry->id = id;
    return true;
}

std::optional<ListRows> RuleList::listRows(const Uuid& id) const {
    const RuleEntry* entry = find(id);
    if (entry == nullptr) {
        return std::nullopt;
    }
    if (const auto* replace = std::get_if<ReplaceRule>(&entry->rule)) {
        ListRows rows;
        for (const auto& pair : replace->pairs) {
            rows.push_back({Uuid::random(), pair.find, pair.with, pair.isEnabled});
        }
        return rows;
    }
    if (const auto* regex = std::get_if<RegexRule>(&entry->rule)) {
        ListRows rows;
        for (const auto& pair : regex->pairs) {
            rows.push_back({Uuid::random(), pair.pattern, pair.replacement, pair.isEnabled});
        }
        return rows;
    }
    return std::nullopt;
}

bool RuleList::setListRows(const Uuid& id, const ListRows& rows) {
    RuleEntry* entry = findMutable(id);
    if (entry == nullptr) {
        return false;
    }
    if (auto* replace = std::get_if<ReplaceRule>(&entry->rule)) {
        replace->pairs.clear();
        for (const ListRow& row : rows) {
            replace->pairs.push_back({row.find, row.with, row.isEnabled});
        }
        return true;
    }
    if (auto* regex = std::get_if<RegexRule>(&entry->rule)) {
        regex->pairs.clear();
        for (const ListRow& row : rows) {
            regex->pairs.push_back({row.find, row.with, row.isEnabled});
        }
        return true;
    }
    return false;
}

std::vector<Uuid> RuleList::ids() const {
    std::vector<Uuid> result;
    result.reserve(entries_.size());
    for (const RuleEntry& entry : entries_) {
        result.push_back(entry.id);
    }
    return result;
}

RenamePipeline RuleList::pipeline() const {
    std::vector<PipelineStep> steps;
    steps.reserve(entries_.size());
    for (const RuleEntry& entry : entries_) {
        steps.push_back(entry.step());
    }
    return RenamePipeline(std::move(steps));
}

std::size_t RuleList::activeCount() const {
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(),
                                                  [](const RuleEntry& entry) { return entry.isEnabled; }));
}

} // namespace morvane::app
