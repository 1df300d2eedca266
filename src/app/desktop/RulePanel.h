#pragma once

#include <QWidget>
#include <vector>

class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;

namespace morvane::app {

class AppModel;
class ElidedLabel;
class RuleCard;
class RuleCardList;

// The renaming criteria beside the table: the header ("Rules", the active
// count, collapse or expand all), the selected item's name now and after
// the rules, one card per rule in list order, and the "Add Rule" menu with
// every rule kind. Cards live as long as their rules and are updated in
// place; one refresh reads every card's figures over one trace.
class RulePanel : public QWidget {
    Q_OBJECT

public:
    explicit RulePanel(AppModel& model, QWidget* parent = nullptr);

    const std::vector<RuleCard*>& cards() const { return cards_; }
    RuleCardList* cardList() const { return cardList_; }
    QToolButton* addRuleButton() const { return addRule_; }
    QToolButton* expandButton() const { return expand_; }
    QLabel* activeLabel() const { return active_; }
    // The selected item's lines ("Original", "Result"); hidden without one.
    QWidget* selectedNames() const { return names_; }
    QString originalName() const;
    QString resultName() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void rebuildCards();
    void refreshCards();
    void fillAddMenu();
    QWidget* makeSelectedNames();

    AppModel& model_;
    QLabel* title_;
    QLabel* active_;
    QToolButton* expand_;
    QWidget* names_ = nullptr;
    QLabel* originalTitle_ = nullptr;
    QLabel* resultTitle_ = nullptr;
    ElidedLabel* original_ = nullptr;
    ElidedLabel* result_ = nullptr;
    QScrollArea* scroll_;
    RuleCardList* cardList_;
    QToolButton* addRule_;
    QMenu* addMenu_;
    std::vector<RuleCard*> cards_;
};

} // namespace morvane::app
