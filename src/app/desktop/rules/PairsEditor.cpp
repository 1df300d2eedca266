#include "app/desktop/rules/PairsEditor.h"

#include "app/desktop/Icons.h"
#include "app/desktop/rules/InlinePairList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace morvane::app {

PairsEditor::PairsEditor(WindowRules& model, const Uuid& id, bool listMode, const PairsEditorTexts& texts)
    : RuleEditor(model, id), listMode_(listMode), listSwitch_(new QCheckBox(ui(texts.listTitle))),
      find_(EditorControls::textField(ui(texts.findLabel), toQString(texts.findPlaceholder))),
      with_(EditorControls::textField(ui(texts.withLabel), toQString(texts.withPlaceholder))),
      rows_(new InlinePairList(ui(texts.findLabel), ui(texts.withLabel))), listButtons_(new QWidget),
      problem_(new QWidget), problemText_(new QLabel), caseSwitch_(new QCheckBox(ui(texts.caseTitle))) {
    addRow(listSwitch_);
    addRow(ui(texts.findLabel), find_);
    addRow(ui(texts.withLabel), with_);
    addRow(rows_);

    auto* buttons = new QHBoxLayout(listButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* addRowButton = new QToolButton;
    addRowButton->setObjectName("addRow");
    addRowButton->setIcon(Icons::symbol("plus"));
    addRowButton->setText(ui("Add Row"));
    addRowButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addRowButton->setAutoRaise(true);
    addRowButton->setFocusPolicy(Qt::StrongFocus);
    auto* editList = new QToolButton;
    editList->setObjectName("editList");
    editList->setText(ui("Edit List"));
    editList->setFocusPolicy(Qt::StrongFocus);
    buttons->addWidget(addRowButton);
    buttons->addStretch(1);
    buttons->addWidget(editList);
    addRow(listButtons_);

    auto* problem = new QHBoxLayout(problem_);
    problem->setContentsMargins(0, 0, 0, 0);
    problem->setSpacing(6);
    problemText_->setWordWrap(true);
    problemText_->setObjectName("problem");
    problem->addWidget(EditorControls::symbol("exclamationmark.triangle.fill"), 0, Qt::AlignTop);
    problem->addWidget(problemText_, 1);
    addRow(problem_);
    addRow(caseSwitch_);

    EditorControls::showChecked(listSwitch_, listMode_);
    connect(listSwitch_, &QCheckBox::toggled, this, &PairsEditor::setListMode);
    connect(find_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editRows([&](ListRows& rows) { rows.front().find = fromQString(text); });
    });
    connect(with_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editRows([&](ListRows& rows) { rows.front().with = fromQString(text); });
    });
    connect(rows_, &InlinePairList::rowEdited, this,
            [this](int row, const QString& find, const QString& with, bool enabled) {
                editRows([&](ListRows& rows) {
                    if (row < static_cast<int>(rows.size())) {
                        ListRow& edited = rows[static_cast<std::size_t>(row)];
                        edited.find = fromQString(find);
                        edited.with = fromQString(with);
                        edited.isEnabled = enabled;
                    }
                });
            });
    connect(rows_, &InlinePairList::removeRequested, this, [this](int row) {
        editRows([&](ListRows& rows) {
            if (row < static_cast<int>(rows.size())) {
                rows = removing(rows, {rows[static_cast<std::size_t>(row)].id});
            }
        });
    });
    connect(addRowButton, &QToolButton::clicked, this, [this] {
        editRows([](ListRows& rows) { rows.push_back(ListRow::make()); });
        if (rows_->rowCount() > 0) {
            rows_->findField(rows_->rowCount() - 1)->setFocus(Qt::OtherFocusReason);
        }
    });
    connect(editList, &QToolButton::clicked, this, [this] { model_.setListEditingRule(id_); });
    connect(caseSwitch_, &QCheckBox::toggled, this, [this](bool on) { setCaseFlag(on); });
}

void PairsEditor::refresh(const RuleEntry& entry, const RuleFigures&) {
    const ListRows rows = model_.listRows(id_).value_or(ListRows{});
    setRowVisible(find_, !listMode_);
    setRowVisible(with_, !listMode_);
    setRowVisible(rows_, listMode_);
    setRowVisible(listButtons_, listMode_);
    EditorControls::showChecked(listSwitch_, listMode_);
    if (listMode_) {
        rows_->showRows(rows);
    } else {
        EditorControls::showText(find_, rows.empty() ? std::string() : rows.front().find);
        EditorControls::showText(with_, rows.empty() ? std::string() : rows.front().with);
    }
    const auto problem = this->problem(entry.rule);
    setRowVisible(problem_, problem.has_value());
    if (problem) {
        EditorControls::showText(problemText_, toQString(*problem));
    }
    EditorControls::showChecked(caseSwitch_, caseFlag(entry.rule));
}

void PairsEditor::setListMode(bool on) {
    listMode_ = on;
    model_.setListMode(id_, on);
    // Entering list mode (or leaving it with one pair) changes no rule, so
    // nothing else will show the other controls.
    refreshFromModel();
}

void PairsEditor::editRows(const std::function<void(ListRows&)>& change) {
    ListRows rows = model_.listRows(id_).value_or(ListRows{});
    if (rows.empty()) {
        rows.push_back(ListRow::make());
    }
    change(rows);
    model_.setListRows(id_, rows);
}

void PairsEditor::refreshFromModel() {
    for (const RuleEntry& entry : model_.entries()) {
        if (entry.id == id_) {
            refresh(entry, {});
        }
    }
}

} // namespace morvane::app
