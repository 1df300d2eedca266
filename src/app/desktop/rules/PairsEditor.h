#pragma once

#include "app/desktop/rules/RuleEditor.h"

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QToolButton;

namespace morvane::app {

class InlinePairList;

// What tells a Replace editor from a Regex editor: its texts.
struct PairsEditorTexts {
    const char* listTitle;       // "Use a list of replacements"
    const char* findLabel;       // "Find"
    const char* findPlaceholder; // "IMG_"
    const char* withLabel;       // "Replace with"
    const char* withPlaceholder; // "santa-cruz-"
    const char* caseTitle;       // "Case sensitive"
};

// The editor of a rule made of find/replace pairs. Without list mode its
// two fields are the first pair; in list mode every pair is a row, with a
// button for the pair-list editor. List mode starts on when the rule has
// more than one pair; leaving it keeps the first pair only.
class PairsEditor : public RuleEditor {
public:
    PairsEditor(WindowRules& model, const Uuid& id, bool listMode, const PairsEditorTexts& texts);

    void refresh(const RuleEntry& entry, const RuleFigures& figures) final;

protected:
    // The rule's other setting (case sensitivity, or ignoring case).
    virtual bool caseFlag(const AnyRule& rule) const = 0;
    virtual void setCaseFlag(bool on) = 0;
    // Why the pairs cannot work as they are, shown under them.
    virtual std::optional<std::string> problem(const AnyRule&) const { return std::nullopt; }

private:
    void setListMode(bool on);
    void editRows(const std::function<void(ListRows&)>& change);
    void refreshFromModel();

    bool listMode_;
    QCheckBox* listSwitch_;
    QLineEdit* find_;
    QLineEdit* with_;
    InlinePairList* rows_;
    QWidget* listButtons_;
    QWidget* problem_;
    QLabel* problemText_;
    QCheckBox* caseSwitch_;
};

} // namespace morvane::app
