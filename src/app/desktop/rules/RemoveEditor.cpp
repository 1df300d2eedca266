#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// Characters off the start and the end, a set of characters anywhere, and surplus spaces.
class RemoveEditor final : public RuleEditorOf<RemoveRule> {
public:
    RemoveEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        addRow(ui("First"), EditorControls::row({numberField(&RemoveRule::first, ui("First")),
                                                 EditorControls::note(ui("characters"))}));
        addRow(ui("Last"), EditorControls::row({numberField(&RemoveRule::last, ui("Last")),
                                                EditorControls::note(ui("characters"))}));
        addRow(ui("Characters"), textField(&RemoveRule::characters, ui("Characters"), "()[]"));
        addRow(checkBox(&RemoveRule::trimSpaces, ui("Trim and collapse spaces")));
    }
};

} // namespace

RuleEditor* makeRemoveEditor(WindowRules& model, const Uuid& id) {
    return new RemoveEditor(model, id);
}

} // namespace morvane::app
