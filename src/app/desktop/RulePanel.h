#pragma once

#include <QWidget>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace morvane::app {

class AppModel;
class ElidedLabel;
class RuleCard;
class RuleCardList;

// The renaming criteria beside the table: the header ("Rules", the active
// count, collapse or expand all), the selected item's name now and after
// the rules, how many new names written by hand the rules leave alone (with
// "Use the Rules' Names" to take them all back), one card per rule in list
// order, and the "Add Rule" menu with every rule kind. Cards live as long as their rules and are updated in
// place; one refresh reads every card's figures over one trace.
class RulePanel : public QWidget {
    Q_OBJECT

public:
    explicit RulePanel(AppModel& model, QWidget* parent = nullptr);

    const std::vector<RuleCard*>& cards() const { return cards_; }
    RuleCardList* cardList() const { return cardList_; }
    QPushButton* addRuleButton() const { return addRule_; }
    QToolButton* expandButton() const { return expand_; }
    QLabel* activeLabel() const { return active_; }
    // The selected item's lines ("Original", "Result"); hidden without one.
    QWidget* selectedNames() const { return names_; }
    QString originalName() const;
    QString resultName() const;
    // "%lld edited names kept", with its button; hidden without edited names.
    QLabel* editedNamesLabel() const { return edited_; }
    QToolButton* useRulesNamesButton() const { return useRulesNames_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void rebuildCards();
    void refreshCards();
    void fillAddMenu();
    QWidget* makeSelectedNames();
    QWidget* makeEditedNames();

    AppModel& model_;
    QLabel* title_;
    QLabel* active_;
    QToolButton* expand_;
    QWidget* names_ = nullptr;
    QLabel* originalTitle_ = nullptr;
    QLabel* resultTitle_ = nullptr;
    ElidedLabel* original_ = nullptr;
    ElidedLabel* result_ = nullptr;
    QWidget* editedRow_ = nullptr;
    QLabel* edited_ = nullptr;
    QToolButton* useRulesNames_ = nullptr;
    QScrollArea* scroll_;
    RuleCardList* cardList_;
    QPushButton* addRule_;
    QMenu* addMenu_;
    std::vector<RuleCard*> cards_;
};

} // namespace morvane::app
