#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;

namespace morvane::app {

class AppSettings;

// The first look at Morvane: what it does, in three steps, and "Get Started",
// after which it is not shown by itself again.
class WelcomeSheet : public QDialog {
    Q_OBJECT

public:
    WelcomeSheet(AppSettings& settings, QWidget* parent);

    QPushButton* startButton() const { return start_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    AppSettings& settings_;
    QLabel* title_;
    QLabel* lead_;
    std::vector<QLabel*> steps_;
    QPushButton* start_;
};

} // namespace morvane::app
