#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// The parent folder's name before or after the name.
class FolderEditor final : public RuleEditorOf<FolderRule> {
public:
    FolderEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        using Position = FolderRule::Position;
        addRow(ui("Position"),
               choiceMenu(&FolderRule::position, ui("Position"),
                          {{Position::before, "Before name"}, {Position::after, "After name"}}));
        addRow(ui("Separator"), textField(&FolderRule::separator, ui("Separator"), "-"));
    }
};

} // namespace

RuleEditor* makeFolderEditor(WindowRules& model, const Uuid& id) {
    return new FolderEditor(model, id);
}

} // namespace morvane::app
