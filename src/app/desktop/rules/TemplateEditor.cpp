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
        // The tokens are the template's own syntax, not translated; those of
        // photos and music follow the file's own.
        QLabel* tokens =
            EditorControls::note("{name} {ext} {parent} {counter:000} {date:yyyyMMdd} {created:yyyy-MM}\n"
                                 "{taken:yyyy-MM-dd} {camera} {width} {height}\n"
                                 "{artist} {album} {title} {track:00} {disc} {year} {genre}");
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
