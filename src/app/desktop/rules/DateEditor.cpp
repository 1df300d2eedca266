#include "app/desktop/rules/RuleEditor.h"
#include "app/desktop/rules/RuleEditors.h"
#include "app/model/RuleEditing.h"

#include <QSignalBlocker>
#include <chrono>

namespace morvane::app {
namespace {

// A date of the item (its file's dates, or when the photo was taken) before
// or after the name, in a format from the menu.
class DateEditor final : public RuleEditorOf<DateRule> {
public:
    DateEditor(WindowRules& model, const Uuid& id)
        : RuleEditorOf(model, id), format_(EditorControls::choiceMenu(ui("Format"), {})) {
        using Source = DateRule::Source;
        using Position = DateRule::Position;
        addRow(ui("Source"), choiceMenu(&DateRule::source, ui("Source"),
                                        {{Source::modified, "Date modified"},
                                         {Source::created, "Date created"},
                                         {Source::taken, "Capture date"}}));
        addRow(ui("Format"), format_);
        connect(format_, &QComboBox::activated, this, [this](int index) {
            const std::string format = fromQString(format_->itemData(index).toString());
            edit([&](DateRule& rule) { rule.format = format; });
        });
        addRow(ui("Position"),
               choiceMenu(&DateRule::position, ui("Position"),
                          {{Position::before, "Before name"}, {Position::after, "After name"}}));
        addRow(ui("Separator"), textField(&DateRule::separator, ui("Separator"), "_"));
    }

private:
    // The offered formats and the rule's own, each with the moment written in it.
    void show(const DateRule& rule, const RuleFigures&) override {
        const auto choices = RuleEditing::dateFormatChoices(rule, std::chrono::system_clock::now());
        const QSignalBlocker blocker(format_);
        if (format_->count() != static_cast<int>(choices.size())) {
            format_->clear();
            for (std::size_t index = 0; index < choices.size(); ++index) {
                format_->addItem(QString());
            }
        }
        int current = -1;
        for (std::size_t index = 0; index < choices.size(); ++index) {
            const int at = static_cast<int>(index);
            const QString format = toQString(choices[index].format);
            format_->setItemText(at,
                                 QString("%1  \u2014  %2").arg(format, toQString(choices[index].example)));
            format_->setItemData(at, format);
            if (choices[index].format == rule.format) {
                current = at;
            }
        }
        EditorControls::showChoice(format_, current);
    }

    QComboBox* format_;
};

} // namespace

RuleEditor* makeDateEditor(WindowRules& model, const Uuid& id) {
    return new DateEditor(model, id);
}

} // namespace morvane::app
