#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// The letter case of the name and, on its own, of the extension.
class CaseEditor final : public RuleEditorOf<CaseRule> {
public:
    CaseEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        using Mode = CaseRule::Mode;
        using Extension = CaseRule::ExtensionMode;
        addRow(ui("Name"), choiceMenu(&CaseRule::mode, ui("Name"),
                                      {{Mode::same, "Same"},
                                       {Mode::lower, "lowercase"},
                                       {Mode::upper, "UPPERCASE"},
                                       {Mode::title, "Title Case"},
                                       {Mode::sentence, "Sentence case"}}));
        addRow(ui("Extension"), choiceMenu(&CaseRule::extensionMode, ui("Extension"),
                                           {{Extension::same, "Same"},
                                            {Extension::lower, "lowercase"},
                                            {Extension::upper, "UPPERCASE"}}));
    }
};

} // namespace

RuleEditor* makeCaseEditor(WindowRules& model, const Uuid& id) {
    return new CaseEditor(model, id);
}

} // namespace morvane::app
