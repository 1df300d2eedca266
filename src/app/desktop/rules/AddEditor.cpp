#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// A prefix, a text inserted at a character position, and a suffix.
class AddEditor final : public RuleEditorOf<AffixRule> {
public:
    AddEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        addRow(ui("Prefix"), textField(&AffixRule::prefix, ui("Prefix")));
        addRow(ui("Insert"), textField(&AffixRule::insert, ui("Insert")));
        addRow(ui("At position"),
               EditorControls::row({numberField(&AffixRule::insertAt, ui("At position"))}));
        addRow(ui("Suffix"), textField(&AffixRule::suffix, ui("Suffix")));
    }
};

} // namespace

RuleEditor* makeAddEditor(WindowRules& model, const Uuid& id) {
    return new AddEditor(model, id);
}

} // namespace morvane::app
