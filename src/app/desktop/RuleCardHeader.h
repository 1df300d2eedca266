#pragma once

#include "engine/support/Uuid.h"

#include <QFrame>

class QCheckBox;
class QLabel;

namespace morvane::app {
class ElidedLabel;
}

namespace morvane::app {

class AppModel;

// The head of one rule card: its number, the kind's title, one line about
// the rule (its summary, or why it is skipped) and the switch that turns it on
// and off.
class RuleCardHeader : public QFrame {
    Q_OBJECT

public:
    RuleCardHeader(AppModel& model, const Uuid& id, QWidget* parent = nullptr);

    const Uuid& id() const { return id_; }
    QCheckBox* enabledSwitch() const { return enabled_; }
    QString summaryText() const;
    // Re-reads the entry and its figures.
    void refresh();

private:
    AppModel& model_;
    Uuid id_;
    QLabel* number_;
    QLabel* title_;
    ElidedLabel* summary_;
    QCheckBox* enabled_;
};

} // namespace morvane::app
