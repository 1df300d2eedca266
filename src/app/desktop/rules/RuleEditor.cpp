#include "app/desktop/rules/RuleEditor.h"

#include "app/desktop/rules/RuleEditors.h"
#include "app/model/RuleEditing.h"

#include <QFormLayout>
#include <QLabel>

namespace morvane::app {

RuleEditor::RuleEditor(WindowRules& model, const Uuid& id, QWidget* parent)
    : QWidget(parent), model_(model), id_(id), form_(new QFormLayout(this)) {
    setObjectName("ruleEditor");
    form_->setContentsMargins(0, 0, 0, 0);
    form_->setHorizontalSpacing(8);
    form_->setVerticalSpacing(6);
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form_->setRowWrapPolicy(QFormLayout::DontWrapRows);
}

RuleEditor* RuleEditor::make(WindowRules& model, const RuleEntry& entry, const RuleFigures& figures) {
    const Uuid& id = entry.id;
    // Each time an editor is shown, list mode starts on exactly when there is more than one pair.
    const bool listMode = RuleEditing::startsInListMode(entry.rule);
    RuleEditor* editor = nullptr;
    switch (kindOf(entry.rule)) {
    case RuleKind::name:
        editor = makeNameEditor(model, id);
        break;
    case RuleKind::segment:
        editor = makeSegmentEditor(model, id);
        break;
    case RuleKind::replace:
        editor = makeReplaceEditor(model, id, listMode);
        break;
    case RuleKind::regex:
        editor = makeRegexEditor(model, id, listMode);
        break;
    case RuleKind::remove:
        editor = makeRemoveEditor(model, id);
        break;
    case RuleKind::add:
        editor = makeAddEditor(model, id);
        break;
    case RuleKind::counter:
        editor = makeCounterEditor(model, id);
        break;
    case RuleKind::date:
        editor = makeDateEditor(model, id);
        break;
    case RuleKind::folder:
        editor = makeFolderEditor(model, id);
        break;
    case RuleKind::template_:
        editor = makeTemplateEditor(model, id);
        break;
    case RuleKind::letterCase:
        editor = makeCaseEditor(model, id);
        break;
    }
    editor->refresh(entry, figures);
    return editor;
}

void RuleEditor::addRow(const QString& label, QWidget* field) {
    auto* title = new QLabel(label);
    title->setBuddy(field);
    form_->addRow(title, field);
}

void RuleEditor::addRow(QWidget* wholeRow) {
    form_->addRow(wholeRow);
}

void RuleEditor::setRowVisible(QWidget* field, bool visible) {
    form_->setRowVisible(field, visible);
}

} // namespace morvane::app
