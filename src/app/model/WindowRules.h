#pragma once

#include "app/model/EditGate.h"
#include "app/model/RuleFigures.h"
#include "app/model/RuleList.h"
#include "engine/core/StepTrace.h"

#include <QObject>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

class AppSettings;
class WindowItems;
class WindowPreview;

// The rule list of one window with what its rule panel and pair-list editor
// show: every operation on the list, each card's figures over the current
// preview and the selected item's trace, and the pair-list editor's rows,
// title and match counts. Every change of the list goes through one path,
// which the window's gate can refuse and which announces `rulesChanged` for
// the follow-up (a new plan, the undo withdrawn…). Main thread only.
class WindowRules : public QObject {
    Q_OBJECT

public:
    WindowRules(const WindowItems& items, const WindowPreview& preview, const AppSettings& settings,
                EditGate& gate, QObject* parent = nullptr);

    const std::vector<RuleEntry>& entries() const { return list_.entries(); }
    // One step per entry, disabled ones included.
    RenamePipeline pipeline() const { return list_.pipeline(); }
    std::vector<Uuid> ids() const { return list_.ids(); }

    void setRules(std::vector<RuleEntry> entries);
    void addRule(RuleKind kind);
    void duplicate(const Uuid& id);
    void deleteRule(const Uuid& id);
    void move(const Uuid& id, std::ptrdiff_t offset);
    // A card dropped before the entry at `destination` (see RuleList::place).
    void placeRule(const Uuid& id, std::size_t destination);
    void reset(const Uuid& id);
    void setAllExpanded(bool expanded);
    // The one path for editing an entry in place (editors, switch, expansion).
    void editRule(const Uuid& id, const std::function<void(RuleEntry&)>& change);
    void setRule(const Uuid& id, AnyRule rule);
    void setEnabled(const Uuid& id, bool enabled);
    void setExpanded(const Uuid& id, bool expanded);
    // The list mode of a Replace or Regex editor: leaving it keeps the first
    // pair only; entering it changes nothing.
    void setListMode(const Uuid& id, bool on);

    // The panel's "Collapse All" while any card is expanded, else "Expand
    // All"; it does what it says, and there is nothing to do without rules.
    std::string expandAllTitle() const;
    bool canExpandOrCollapseAll() const { return !entries().empty(); }
    void expandOrCollapseAll();

    std::size_t activeRuleCount() const { return list_.activeCount(); }
    // "%lld of %lld active".
    std::string activeRulesText() const;
    // Items the rule changed in the current plan; 0 for a rule it was not made with.
    std::size_t changedCount(const Uuid& id) const;
    RuleFigures figures(const Uuid& id) const;
    // Every card's figures, in list order, over one trace of the selected item.
    std::vector<RuleFigures> ruleFigures() const;
    // The selected item's name after each rule; empty with none, or an excluded one.
    std::vector<StepTrace> trace() const;

    // The pair-list editor.
    std::optional<ListRows> listRows(const Uuid& id) const { return list_.listRows(id); }
    void setListRows(const Uuid& id, const ListRows& rows);
    const std::optional<Uuid>& listEditingRule() const { return listEditingRule_; }
    void setListEditingRule(std::optional<Uuid> id);
    std::string listEditorTitle() const;
    // Per pair of a Replace or Regex entry, its matches in the names the rule
    // receives. The job takes its snapshot here and may run anywhere.
    std::function<std::vector<std::size_t>()> matchCountsJob(const Uuid& id) const;
    std::vector<std::size_t> matchCounts(const Uuid& id) const { return matchCountsJob(id)(); }

signals:
    void rulesChanged();
    void listEditingRuleChanged();

private:
    // The one way the list changes: refused while the gate is closed;
    // `edit` says whether it changed anything.
    void change(const std::function<bool(RuleList&)>& edit);

    const WindowItems& items_;
    const WindowPreview& preview_;
    const AppSettings& settings_;
    EditGate& gate_;
    RuleList list_;
    std::optional<Uuid> listEditingRule_;
};

} // namespace morvane::app
