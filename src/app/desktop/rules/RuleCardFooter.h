#pragma once

#include "app/model/RuleFigures.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace morvane::app {

// The foot of an expanded rule card: how many items the rule changed, or
// why it is bypassed, and the button that resets the rule.
class RuleCardFooter : public QWidget {
    Q_OBJECT

public:
    explicit RuleCardFooter(QWidget* parent = nullptr);

    void refresh(const RuleFigures& figures);
    // What the foot says, without its emphasis.
    QString text() const { return titleText_ + detailText_; }
    bool showsError() const { return error_; }
    QPushButton* resetButton() const { return reset_; }

signals:
    void resetRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QWidget* symbol_;
    QLabel* title_;
    QLabel* detail_;
    QPushButton* reset_;
    QString titleText_;
    QString detailText_;
    bool error_ = false;
};

} // namespace morvane::app
