#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace morvane::app {

class WindowBatches;

// A running rename or undo, once it has run for a moment: what it is doing,
// how far it is, and "Stop". The confirmation sheet shows the rename it
// started; the window shows a batch started without the sheet (an undo).
class RenameProgressView : public QWidget {
    Q_OBJECT

public:
    enum class Place { sheet, window };

    RenameProgressView(WindowBatches& batches, Place place, QWidget* parent = nullptr);

    QLabel* phaseLabel() const { return phase_; }
    QLabel* countLabel() const { return count_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* stopButton() const { return stop_; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showProgress();

    WindowBatches& batches_;
    Place place_;
    QLabel* phase_;
    QProgressBar* bar_;
    QLabel* count_;
    QPushButton* stop_;
};

} // namespace morvane::app
