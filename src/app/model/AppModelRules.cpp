// The rule list of the window's model: its operations, the follow-up of
// every change, and the figures the rule panel and the pair-list editor show.
#include "app/model/AppModel.h"
#include "app/model/Localizer.h"

namespace morvane::app {

void AppModel::rulesDidChange() {
    if (!applyingPreset_) {
        setCurrentPreset(std::nullopt);
    }
    setLastTransaction(std::nullopt);
    setActionMessage(std::nullopt);
    emit rulesChanged();
    scheduleReplan();
}

void AppModel::setRules(std::vector<RuleEntry> entries) {
    if (busy_) {
        return;
    }
    rules_ = RuleList(std::move(entries));
    rulesDidChange();
}

void AppModel::applyRules(std::vector<RuleEntry> entries, const std::string& presetName) {
    if (busy_) {
        return;
    }
    applyingPreset_ = true;
    setRules(std::move(entries));
    applyingPreset_ = false;
    setCurrentPreset(presetName);
}

void AppModel::addRule(RuleKind kind) {
    if (busy_) {
        return;
    }
    rules_.add(kind);
    rulesDidChange();
}

void AppModel::duplicate(const Uuid& id) {
    if (busy_) {
        return;
    }
    if (rules_.duplicate(id)) {
        rulesDidChange();
    }
}

void AppModel::deleteRule(const Uuid& id) {
    if (busy_) {
        return;
    }
    if (rules_.remove(id)) {
        rulesDidChange();
    }
}

void AppModel::move(const Uuid& id, std::ptrdiff_t offset) {
    if (busy_) {
        return;
    }
    if (rules_.move(id, offset)) {
        rulesDidChange();
    }
}

void AppModel::reset(const Uuid& id) {
    if (busy_) {
        return;
    }
    if (rules_.reset(id)) {
        rulesDidChange();
    }
}

void AppModel::setAllExpanded(bool expanded) {
    if (busy_) {
        return;
    }
    rules_.setAllExpanded(expanded);
    rulesDidChange();
}

void AppModel::editRule(const Uuid& id, const std::function<void(RuleEntry&)>& change) {
    if (busy_) {
        return;
    }
    if (rules_.edit(id, change)) {
        rulesDidChange();
    }
}

void AppModel::setRule(const Uuid& id, AnyRule rule) {
    editRule(id, [&](RuleEntry& entry) { entry.rule = std::move(rule); });
}

void AppModel::setEnabled(const Uuid& id, bool enabled) {
    editRule(id, [&](RuleEntry& entry) { entry.isEnabled = enabled; });
}

void AppModel::setExpanded(const Uuid& id, bool expanded) {
    editRule(id, [&](RuleEntry& entry) { entry.isExpanded = expanded; });
}

void AppModel::setListRows(const Uuid& id, const ListRows& rows) {
    if (busy_) {
        return;
    }
    if (rules_.setListRows(id, rows)) {
        rulesDidChange();
    }
}

std::string AppModel::activeRulesText() const {
    return Localizer::format("%lld of %lld active", rules_.activeCount(), rules_.entries().size());
}

std::size_t AppModel::changedCount(const Uuid& id) const {
    const auto index = rules_.indexOf(id);
    const auto& counts = plan().changedCounts;
    return index && *index < counts.size() ? counts[*index] : 0;
}

RuleFigures AppModel::figures(const Uuid& id) const {
    RuleFigures figures;
    const auto index = rules_.indexOf(id);
    if (!index) {
        return figures;
    }
    figures.number = *index + 1;
    figures.changedCount = changedCount(id);
    const auto error = plan().ruleErrors.find(*index);
    const RuleEntry& entry = rules_.entries()[*index];
    if (!entry.isEnabled) {
        figures.statusLine = Localizer::text("Disabled \u00B7 skipped");
        figures.summaryLine = figures.statusLine;
    } else if (error != plan().ruleErrors.end()) {
        figures.error = error->second;
        figures.statusLine = Localizer::text("Error \u00B7 rule is bypassed until fixed");
        figures.summaryLine = Localizer::text("Invalid pattern");
    } else {
        figures.statusLine = Localizer::counted("%lld item changed by this rule",
                                                "%lld items changed by this rule", figures.changedCount);
        figures.summaryLine = shareRule(entry.rule)->summary();
    }
    const auto steps = trace();
    if (*index < steps.size()) {
        figures.result = steps[*index].output;
    }
    return figures;
}

std::string AppModel::listEditorTitle() const {
    const auto index = listEditingRule_ ? rules_.indexOf(*listEditingRule_) : std::nullopt;
    if (!index) {
        return Localizer::text("Edit List");
    }
    return Localizer::format("%@ \u00B7 Rule %lld", morvane::title(kindOf(rules_.entries()[*index].rule)),
                             *index + 1);
}

std::function<std::vector<std::size_t>()> AppModel::matchCountsJob(const Uuid& id) const {
    const auto index = rules_.indexOf(id);
    const RuleEntry* entry = rules_.find(id);
    if (!index || !(std::holds_alternative<ReplaceRule>(entry->rule) ||
                    std::holds_alternative<RegexRule>(entry->rule))) {
        return [] { return std::vector<std::size_t>(); };
    }
    return [items = items_, unchecked = unchecked_, pipeline = rules_.pipeline(), index = *index,
            rule = rules_.entries()[*index].rule] {
        const auto counts = [&](const std::vector<std::string>& stems) {
            if (const auto* replace = std::get_if<ReplaceRule>(&rule)) {
                return replace->matchCounts(stems);
            }
            return std::get<RegexRule>(rule).matchCounts(stems);
        };
        if (unchecked->empty()) {
            return counts(pipeline.inputStems(index, *items));
        }
        ItemList checked;
        std::copy_if(items->begin(), items->end(), std::back_inserter(checked),
                     [&](const FileItem& item) { return !unchecked->contains(item.id); });
        return counts(pipeline.inputStems(index, checked));
    };
}

std::vector<std::size_t> AppModel::matchCounts(const Uuid& id) const {
    return matchCountsJob(id)();
}

} // namespace morvane::app
