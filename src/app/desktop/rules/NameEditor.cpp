#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"
#include "app/model/RuleEditing.h"

namespace morvane::app {
namespace {

// Keeps, removes, fixes or reverses the whole name; the text is the fixed name.
class NameEditor final : public RuleEditorOf<NameRule> {
public:
    NameEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        using Mode = NameRule::Mode;
        addRow(ui("Mode"), choiceMenu(&NameRule::mode, ui("Mode"),
                                      {{Mode::keep, "Keep"},
                                       {Mode::remove, "Remove"},
                                       {Mode::fixed, "Fixed text"},
                                       {Mode::reverse, "Reverse"}}));
        text_ = textField(&NameRule::text, ui("Text"), "santa-cruz");
        addRow(ui("Text"), text_);
    }

private:
    void show(const NameRule& rule, const RuleFigures&) override {
        setRowVisible(text_, RuleEditing::usesText(rule.mode));
    }

    QLineEdit* text_;
};

} // namespace

RuleEditor* makeNameEditor(WindowRules& model, const Uuid& id) {
    return new NameEditor(model, id);
}

} // namespace morvane::app
