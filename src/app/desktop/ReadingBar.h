#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace morvane::app {

class WindowItems;

// A folder being read while the table still shows items (the folder read
// again with other scan options): how many items it has read, and "Stop",
// which keeps those. Without items the empty state shows the same.
class ReadingBar : public QWidget {
    Q_OBJECT

public:
    explicit ReadingBar(WindowItems& items, QWidget* parent = nullptr);

    QLabel* countLabel() const { return count_; }
    QPushButton* stopButton() const { return stop_; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showProgress();

    WindowItems& items_;
    QLabel* title_;
    QProgressBar* bar_;
    QLabel* count_;
    QPushButton* stop_;
};

} // namespace morvane::app
