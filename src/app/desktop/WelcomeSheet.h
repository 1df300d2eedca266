#pragma once

#include <QDialog>

class QPushButton;

namespace morvane::app {

class AppModel;

// The first look at Morvane: what it does, in three steps, and "Get Started",
// after which it is not shown by itself again.
class WelcomeSheet : public QDialog {
    Q_OBJECT

public:
    WelcomeSheet(AppModel& model, QWidget* parent);

    QPushButton* startButton() const { return start_; }

private:
    AppModel& model_;
    QPushButton* start_;
};

} // namespace morvane::app
