#pragma once

#include "app/model/RuleEntry.h"
#include "app/model/RuleFigures.h"

#include <QWidget>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QToolButton;

namespace morvane::app {

class WindowRules;
class ElidedLabel;

// The head of a rule card: the drag handle, the switch, the number, the
// kind's title and one line about the rule (its summary, or why it does
// nothing), the card's menu and the chevron; on a collapsed card also the
// selected item's name after the rule.
class RuleCardHeader : public QWidget {
    Q_OBJECT

public:
    RuleCardHeader(WindowRules& model, const Uuid& id, QWidget* parent = nullptr);

    void refresh(const RuleEntry& entry, const RuleFigures& figures);

    QWidget* handle() const { return handle_; }
    QCheckBox* enabledSwitch() const { return enabled_; }
    QToolButton* chevron() const { return chevron_; }
    QToolButton* menuButton() const { return menuButton_; }
    QMenu* menu() const { return menu_; }
    QString summaryText() const;
    // The running result, or nothing while it is not shown.
    QString resultText() const;

signals:
    // The handle was dragged: the card starts the drag.
    void dragStarted();
    // "Reset to Defaults": the card resets the rule and starts its editor afresh.
    void resetRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void makeMenu();
    void retranslate();
    void showChevron();

    WindowRules& model_;
    Uuid id_;
    QWidget* handle_;
    QCheckBox* enabled_;
    QLabel* number_;
    QLabel* title_;
    QToolButton* menuButton_;
    QToolButton* chevron_;
    ElidedLabel* summary_;
    QWidget* resultRow_;
    ElidedLabel* result_;
    QMenu* menu_;
    QAction* moveUp_ = nullptr;
    QAction* moveDown_ = nullptr;
    QAction* toggle_ = nullptr;
    QAction* duplicate_ = nullptr;
    QAction* reset_ = nullptr;
    QAction* delete_ = nullptr;
    bool expanded_ = true; // as the entry last shown was
    bool isEnabled_ = true;
    int chevronShown_ = -1; // the state the chevron shows: 1 open, 0 closed, -1 not yet
};

} // namespace morvane::app
