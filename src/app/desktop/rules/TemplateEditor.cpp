#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"

#include <QLabel>

namespace morvane::app {
namespace {

// A whole new name from tokens, with the tokens to hand under the field.
class TemplateEditor final : public RuleEditorOf<TemplateRule> {
public:
    TemplateEditor(WindowRules& model, const Uuid& id) : RuleEditorOf(model, id) {
        // The field takes the editor's whole width: templates are long.
        auto* label = new QLabel(ui("Template"));
        QLineEdit* field =
            textField(&TemplateRule::template_, ui("Template"), "{date:yyyyMMdd}_{parent}_{counter:000}");
        label->setBuddy(field);
        addRow(label);
        addRow(field);
        QLabel* tokens =
            EditorControls::note("{name} {ext} {parent} {counter:000} {date:yyyyMMdd} {created:yyyy-MM}");
        tokens->setWordWrap(true);
        tokens->setTextInteractionFlags(Qt::TextSelectableByMouse);
        addRow(tokens);
        addRow(checkBox(&TemplateRule::perFolder, ui("Start {counter} again in each folder")));
    }
};

} // namespace

RuleEditor* makeTemplateEditor(WindowRules& model, const Uuid& id) {
    return new TemplateEditor(model, id);
}

} // namespace morvane::app
