#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"
#include "app/model/RuleEditing.h"

#include <QLabel>

namespace morvane::app {
namespace {

// A sequence number after, before or instead of the name.
class CounterEditor final : public RuleEditorOf<CounterRule> {
public:
    CounterEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        using Position = CounterRule::Position;
        addRow(ui("Position"), choiceMenu(&CounterRule::position, ui("Position"),
                                          {{Position::suffix, "After name"},
                                           {Position::prefix, "Before name"},
                                           {Position::replace, "Replace name"}}));
        addRow(ui("Start"),
               EditorControls::row({numberField(&CounterRule::start, ui("Start")), new QLabel(ui("step")),
                                    numberField(&CounterRule::step, ui("step"))}));
        separator_ = textField(&CounterRule::separator, ui("separator"), "-");
        separator_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
        addRow(ui("Width"), EditorControls::row({numberField(&CounterRule::width, ui("Width")),
                                                 new QLabel(ui("separator")), separator_}));
    }

private:
    void show(const CounterRule& rule, const RuleFigures&) override {
        separator_->setEnabled(RuleEditing::usesSeparator(rule.position));
    }

    QLineEdit* separator_;
};

} // namespace

RuleEditor* makeCounterEditor(WindowRules& model, const Uuid& id) {
    return new CounterEditor(model, id);
}

} // namespace morvane::app
