#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace morvane::app {

class WindowItems;

// What the content area shows without items: an invitation to drop files or
// open a folder, with the reason a folder could not be read; or, while a
// folder is being read, that it is.
class EmptyStateView : public QWidget {
    Q_OBJECT

public:
    explicit EmptyStateView(WindowItems& items, QWidget* parent = nullptr);

    void setBusy(bool busy);
    QPushButton* openButton() const { return open_; }
    QLabel* errorLabel() const { return error_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showTexts();
    void retranslate();

    WindowItems& items_;
    QLabel* symbol_;
    QLabel* title_;
    QLabel* message_;
    QLabel* error_;
    QPushButton* open_;
    QProgressBar* progress_;
    bool busy_ = false;
};

} // namespace morvane::app
