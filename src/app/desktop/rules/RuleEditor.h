#pragma once

#include "app/desktop/UiText.h"
#include "app/desktop/rules/EditorControls.h"
#include "app/desktop/rules/NumberField.h"
#include "app/model/WindowRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QFormLayout;

namespace morvane::app {

// The settings of one rule, in its expanded card. An editor only shows the
// entry's rule and hands every edit to the model's one edit path, so each
// keystroke runs the change rule and a new preview follows; what the model
// sends back is shown without disturbing the control being used.
class RuleEditor : public QWidget {
public:
    RuleEditor(WindowRules& model, const Uuid& id, QWidget* parent = nullptr);

    const Uuid& id() const { return id_; }
    // Shows the entry's settings and what the card knows of the selected item.
    virtual void refresh(const RuleEntry& entry, const RuleFigures& figures) = 0;

    // The editor of the entry's kind, showing the entry.
    static RuleEditor* make(WindowRules& model, const RuleEntry& entry, const RuleFigures& figures);

protected:
    // A labelled row of the editor's form; the label names the field for
    // assistive technology too.
    void addRow(const QString& label, QWidget* field);
    void addRow(QWidget* wholeRow);
    void setRowVisible(QWidget* field, bool visible);
    QFormLayout* form() const { return form_; }

    WindowRules& model_;
    Uuid id_;

private:
    QFormLayout* form_;
};

// An editor of one rule type, with controls bound to the rule's fields.
template <typename Rule>
class RuleEditorOf : public RuleEditor {
public:
    using RuleEditor::RuleEditor;

    void refresh(const RuleEntry& entry, const RuleFigures& figures) final {
        if (const auto* rule = std::get_if<Rule>(&entry.rule)) {
            for (const auto& show : shows_) {
                show(*rule);
            }
            show(*rule, figures);
        }
    }

protected:
    // What the bound controls do not show by themselves.
    virtual void show(const Rule&, const RuleFigures&) {}

    void edit(const std::function<void(Rule&)>& change) {
        model_.editRule(id_, [&](RuleEntry& entry) {
            if (auto* rule = std::get_if<Rule>(&entry.rule)) {
                change(*rule);
            }
        });
    }

    QLineEdit* textField(std::string Rule::*member, const QString& label, const QString& placeholder = {}) {
        QLineEdit* field = EditorControls::textField(label, placeholder);
        connect(field, &QLineEdit::textEdited, this, [this, member](const QString& text) {
            edit([&](Rule& rule) { rule.*member = fromQString(text); });
        });
        shows_.push_back(
            [field, member](const Rule& rule) { EditorControls::showText(field, rule.*member); });
        return field;
    }

    NumberField* numberField(std::int64_t Rule::*member, const QString& label) {
        auto* field = new NumberField(label);
        connect(field, &NumberField::valueEdited, this,
                [this, member](std::int64_t value) { edit([&](Rule& rule) { rule.*member = value; }); });
        shows_.push_back([field, member](const Rule& rule) { field->showValue(rule.*member); });
        return field;
    }

    QCheckBox* checkBox(bool Rule::*member, const QString& title) {
        auto* box = new QCheckBox(title);
        connect(box, &QCheckBox::toggled, this,
                [this, member](bool on) { edit([&](Rule& rule) { rule.*member = on; }); });
        shows_.push_back([box, member](const Rule& rule) { EditorControls::showChecked(box, rule.*member); });
        return box;
    }

    // A menu of the values of one of the rule's enumerations, with their titles.
    template <typename Value>
    QComboBox* choiceMenu(Value Rule::*member, const QString& label,
                          std::initializer_list<std::pair<Value, const char*>> choices) {
        auto* menu = EditorControls::choiceMenu(label, {});
        std::vector<Value> values;
        for (const auto& [value, title] : choices) {
            menu->addItem(ui(title));
            values.push_back(value);
        }
        connect(menu, &QComboBox::activated, this, [this, member, values](int index) {
            if (index >= 0 && static_cast<std::size_t>(index) < values.size()) {
                edit([&](Rule& rule) { rule.*member = values[static_cast<std::size_t>(index)]; });
            }
        });
        shows_.push_back([menu, member, values](const Rule& rule) {
            const auto found = std::find(values.begin(), values.end(), rule.*member);
            EditorControls::showChoice(menu,
                                       found == values.end() ? -1 : static_cast<int>(found - values.begin()));
        });
        return menu;
    }

private:
    std::vector<std::function<void(const Rule&)>> shows_;
};

} // namespace morvane::app
