#pragma once

#include <QWidget>
#include <vector>

class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace morvane::app {

class AppModel;
class RuleCardHeader;

// The renaming criteria beside the table: the header ("Rules", the active
// count, collapse or expand all), one card per rule in list order, and the
// "Add Rule" menu with every rule kind.
class RulePanel : public QWidget {
    Q_OBJECT

public:
    explicit RulePanel(AppModel& model, QWidget* parent = nullptr);

    const std::vector<RuleCardHeader*>& cards() const { return cards_; }
    QToolButton* addRuleButton() const { return addRule_; }
    QToolButton* expandButton() const { return expand_; }
    QLabel* activeLabel() const { return active_; }
    void retranslate();

private:
    void rebuildCards();
    void refreshCards();
    void fillAddMenu();

    AppModel& model_;
    QLabel* title_;
    QLabel* active_;
    QToolButton* expand_;
    QVBoxLayout* cardsLayout_;
    QToolButton* addRule_;
    QMenu* addMenu_;
    std::vector<RuleCardHeader*> cards_;
};

} // namespace morvane::app
