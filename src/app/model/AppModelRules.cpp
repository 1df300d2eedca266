// The rule list of the window's model: its operations, the follow-up of
// every change, and the figures the rule panel and the pair-list editor show.
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"
#include "app/model/Localizer.h"
#include "app/model/RuleEditing.h"

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

void AppModel::placeRule(const Uuid& id, std::size_t destination) {
    if (rules_.place(id, destination)) {
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

namespace {

// What every card of one panel refresh reads: the plan, the selected item's
// trace (computed once for all cards) and the setting.
struct CardContext {
    const RenamePlan& plan;
    const RenamePlan::Entry* selected; // absent when none, or excluded
    const std::vector<StepTrace>& trace;
    std::size_t included;
    std::size_t count; // entries in the list
    bool showRunningResult;
};

RuleFigures figuresAt(const RuleEntry& entry, std::size_t index, const CardContext& context) {
    RuleFigures figures;
    figures.number = index + 1;
    figures.title = morvane::title(kindOf(entry.rule));
    figures.isEnabled = entry.isEnabled;
    figures.isExpanded = entry.isExpanded;
    figures.canMoveUp = index > 0;
    figures.canMoveDown = index + 1 < context.count;
    figures.changedCount = index < context.plan.changedCounts.size() ? context.plan.changedCounts[index] : 0;
    figures.includedCount = context.included;
    const auto error = context.plan.ruleErrors.find(index);
    if (entry.isEnabled && error != context.plan.ruleErrors.end()) {
        figures.error = error->second;
    }
    if (!entry.isEnabled) {
        figures.summaryLine = Localizer::text("Disabled \u00B7 skipped");
    } else if (figures.error) {
        figures.summaryLine = Localizer::text("Invalid pattern");
    } else {
        figures.summaryLine = std::visit([](const auto& rule) { return rule.summary(); }, entry.rule);
    }
    if (figures.error) {
        figures.footerTitle = Localizer::text("Error \u00B7 rule is bypassed until fixed");
        figures.footerDetail = *figures.error;
    } else {
        figures.footerTitle = Localizer::format("%lld of %lld", figures.changedCount, figures.includedCount);
        figures.footerDetail = Localizer::text(" items changed by this rule");
    }
    if (index < context.trace.size()) {
        figures.result = context.trace[index].output;
        if (!entry.isExpanded && context.showRunningResult) {
            figures.runningResult = figures.result;
        }
    }
    if (context.selected != nullptr) {
        const bool afterTrace = index == 0 || index > context.trace.size();
        figures.inputStem =
            FileName::parsing(afterTrace ? context.selected->item.name : context.trace[index - 1].output)
                .stem;
    }
    figures.toggleTitle = Localizer::text(entry.isEnabled ? "Disable Rule" : "Enable Rule");
    return figures;
}

} // namespace

std::vector<RuleFigures> AppModel::ruleFigures() const {
    const RenamePlan::Entry* selected = selectedEntry();
    if (selected != nullptr && selected->status.kind == RenameStatus::Kind::excluded) {
        selected = nullptr;
    }
    const std::vector<StepTrace> steps = trace();
    const auto& entries = rules_.entries();
    const CardContext context{
        plan(), selected, steps, summary().included, entries.size(), settings_->showRunningResult()};
    std::vector<RuleFigures> all;
    all.reserve(entries.size());
    for (std::size_t index = 0; index < entries.size(); ++index) {
        all.push_back(figuresAt(entries[index], index, context));
    }
    return all;
}

RuleFigures AppModel::figures(const Uuid& id) const {
    const auto index = rules_.indexOf(id);
    if (!index) {
        return {};
    }
    return ruleFigures()[*index];
}

std::optional<SelectedNames> AppModel::selectedNames() const {
    const RenamePlan::Entry* entry = selectedEntry();
    if (entry == nullptr || entry->status.kind == RenameStatus::Kind::excluded) {
        return std::nullopt;
    }
    return SelectedNames{entry->item.name, entry->newName};
}

void AppModel::setListMode(const Uuid& id, bool on) {
    const RuleEntry* entry = rules_.find(id);
    if (on || entry == nullptr || RuleEditing::pairCount(entry->rule) < 2) {
        return;
    }
    setRule(id, RuleEditing::keepingFirstPair(entry->rule));
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
    return [items = items_, unchecked = unchecked_, pipeline = planningPipeline(), index = *index,
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
