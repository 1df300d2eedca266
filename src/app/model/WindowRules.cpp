#include "app/model/WindowRules.h"

#include "app/model/AppSettings.h"
#include "app/model/Localizer.h"
#include "app/model/RuleEditing.h"
#include "app/model/WindowItems.h"
#include "app/model/WindowPreview.h"

#include <algorithm>

namespace morvane::app {

WindowRules::WindowRules(const WindowItems& items, const WindowPreview& preview, const AppSettings& settings,
                         EditGate& gate, QObject* parent)
    : QObject(parent), items_(items), preview_(preview), settings_(settings), gate_(gate),
      list_(RuleList::initial()), editedNames_(std::make_shared<const EditedNames>()) {}

RenamePipeline WindowRules::pipeline() const {
    RenamePipeline pipeline = list_.pipeline();
    pipeline.editedNames = editedNames_;
    return pipeline;
}

void WindowRules::change(const std::function<bool(RuleList&)>& edit) {
    gate_.pass([&] {
        if (edit(list_)) {
            emit rulesChanged();
        }
    });
}

void WindowRules::changeEditedNames(const std::function<bool(EditedNames&)>& edit) {
    gate_.pass([&] {
        EditedNames names = *editedNames_;
        if (edit(names)) {
            editedNames_ = std::make_shared<const EditedNames>(std::move(names));
            emit editedNamesChanged();
        }
    });
}

void WindowRules::editNewName(const std::string& id, std::string name) {
    const auto position = positionIn(preview_.plan(), id);
    if (!position) {
        return;
    }
    const RenamePlan::Entry& entry = preview_.plan().entries[position->row];
    if (entry.status.kind == RenameStatus::Kind::excluded || (!entry.isEdited && name == entry.newName)) {
        return;
    }
    changeEditedNames([&](EditedNames& names) {
        const auto held = names.find(id);
        if (held != names.end() && held->second == name) {
            return false;
        }
        names[id] = std::move(name);
        return true;
    });
}

void WindowRules::useRulesName(const std::string& id) {
    changeEditedNames([&](EditedNames& names) { return names.erase(id) > 0; });
}

void WindowRules::useRulesNames() {
    changeEditedNames([](EditedNames& names) {
        const bool any = !names.empty();
        names.clear();
        return any;
    });
}

void WindowRules::dropEditedNames() {
    useRulesNames();
}

std::optional<std::string> WindowRules::editedNamesNote() const {
    const std::size_t count = preview_.editedCount();
    if (count == 0) {
        return std::nullopt;
    }
    return Localizer::counted("%lld edited name kept", "%lld edited names kept", count);
}

void WindowRules::setRules(std::vector<RuleEntry> entries) {
    // Also a list equal to the one there: the follow-up runs all the same.
    change([&](RuleList& list) {
        list = RuleList(std::move(entries));
        return true;
    });
}

void WindowRules::addRule(RuleKind kind) {
    change([&](RuleList& list) {
        list.add(kind);
        return true;
    });
}

void WindowRules::duplicate(const Uuid& id) {
    change([&](RuleList& list) { return list.duplicate(id); });
}

void WindowRules::deleteRule(const Uuid& id) {
    change([&](RuleList& list) { return list.remove(id); });
}

void WindowRules::move(const Uuid& id, std::ptrdiff_t offset) {
    change([&](RuleList& list) { return list.move(id, offset); });
}

void WindowRules::placeRule(const Uuid& id, std::size_t destination) {
    change([&](RuleList& list) { return list.place(id, destination); });
}

void WindowRules::reset(const Uuid& id) {
    change([&](RuleList& list) { return list.reset(id); });
}

void WindowRules::setAllExpanded(bool expanded) {
    change([&](RuleList& list) {
        list.setAllExpanded(expanded);
        return true;
    });
}

void WindowRules::editRule(const Uuid& id, const std::function<void(RuleEntry&)>& edit) {
    change([&](RuleList& list) { return list.edit(id, edit); });
}

void WindowRules::setRule(const Uuid& id, AnyRule rule) {
    editRule(id, [&](RuleEntry& entry) { entry.rule = std::move(rule); });
}

void WindowRules::setEnabled(const Uuid& id, bool enabled) {
    editRule(id, [&](RuleEntry& entry) { entry.isEnabled = enabled; });
}

void WindowRules::setExpanded(const Uuid& id, bool expanded) {
    editRule(id, [&](RuleEntry& entry) { entry.isExpanded = expanded; });
}

void WindowRules::setListMode(const Uuid& id, bool on) {
    const RuleEntry* entry = list_.find(id);
    if (!on && entry != nullptr && RuleEditing::pairCount(entry->rule) >= 2) {
        setRule(id, RuleEditing::keepingFirstPair(entry->rule));
    }
}

void WindowRules::setListRows(const Uuid& id, const ListRows& rows) {
    change([&](RuleList& list) { return list.setListRows(id, rows); });
}

namespace {

bool anyExpanded(const std::vector<RuleEntry>& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](const RuleEntry& entry) { return entry.isExpanded; });
}

} // namespace

std::string WindowRules::expandAllTitle() const {
    return Localizer::text(anyExpanded(entries()) ? "Collapse All" : "Expand All");
}

void WindowRules::expandOrCollapseAll() {
    if (canExpandOrCollapseAll()) {
        setAllExpanded(!anyExpanded(entries()));
    }
}

std::string WindowRules::activeRulesText() const {
    return Localizer::format("%lld of %lld active", list_.activeCount(), entries().size());
}

std::size_t WindowRules::changedCount(const Uuid& id) const {
    const auto step = preview_.published()->stepOf(id);
    const auto& counts = preview_.plan().changedCounts;
    return step && *step < counts.size() ? counts[*step] : 0;
}

std::vector<StepTrace> WindowRules::trace() const {
    const RenamePlan::Entry* entry = preview_.selectedEntry();
    if (entry == nullptr || entry->status.kind == RenameStatus::Kind::excluded) {
        return {};
    }
    return preview_.withContents(pipeline())
        .trace(entry->item, static_cast<std::int64_t>(*preview_.selectedIncludedIndex()),
               static_cast<std::int64_t>(preview_.summary().included),
               static_cast<std::int64_t>(*preview_.selectedFolderIndex()));
}

namespace {

// What every card of one panel refresh reads: the preview, the selected
// item's trace (computed once for all cards) and the setting.
struct CardContext {
    const Preview& preview;
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
    // The plan's figures are by step; the entry may stand elsewhere now, or
    // be new, until the plan of the list as it is arrives.
    if (const auto step = context.preview.stepOf(entry.id)) {
        const RenamePlan& plan = context.preview.plan;
        figures.changedCount = *step < plan.changedCounts.size() ? plan.changedCounts[*step] : 0;
        const auto error = plan.ruleErrors.find(*step);
        if (entry.isEnabled && error != plan.ruleErrors.end()) {
            figures.error = error->second;
        }
    }
    figures.includedCount = context.included;
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

std::vector<RuleFigures> WindowRules::ruleFigures() const {
    const RenamePlan::Entry* selected = preview_.selectedEntry();
    if (selected != nullptr && selected->status.kind == RenameStatus::Kind::excluded) {
        selected = nullptr;
    }
    const std::vector<StepTrace> steps = trace();
    const CardContext context{*preview_.published(),       selected,         steps,
                              preview_.summary().included, entries().size(), settings_.showRunningResult()};
    std::vector<RuleFigures> all;
    all.reserve(entries().size());
    for (std::size_t index = 0; index < entries().size(); ++index) {
        all.push_back(figuresAt(entries()[index], index, context));
    }
    return all;
}

RuleFigures WindowRules::figures(const Uuid& id) const {
    const auto index = list_.indexOf(id);
    return index ? ruleFigures()[*index] : RuleFigures{};
}

void WindowRules::setListEditingRule(std::optional<Uuid> id) {
    if (id != listEditingRule_) {
        listEditingRule_ = std::move(id);
        emit listEditingRuleChanged();
    }
}

std::string WindowRules::listEditorTitle() const {
    const auto index = listEditingRule_ ? list_.indexOf(*listEditingRule_) : std::nullopt;
    if (!index) {
        return Localizer::text("Edit List");
    }
    return Localizer::format("%@ \u00B7 Rule %lld", morvane::title(kindOf(entries()[*index].rule)),
                             *index + 1);
}

std::function<std::vector<std::size_t>()> WindowRules::matchCountsJob(const Uuid& id) const {
    const auto index = list_.indexOf(id);
    if (!index || !(std::holds_alternative<ReplaceRule>(entries()[*index].rule) ||
                    std::holds_alternative<RegexRule>(entries()[*index].rule))) {
        return [] { return std::vector<std::size_t>(); };
    }
    return [items = items_.snapshot(), unchecked = items_.uncheckedSnapshot(),
            pipeline = preview_.withContents(pipeline()), index = *index, rule = entries()[*index].rule] {
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

} // namespace morvane::app
