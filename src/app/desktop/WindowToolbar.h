#pragma once

#include <QToolBar>

class QLabel;
class QLineEdit;
class QToolButton;

namespace morvane::app {

class AppModel;
class Commands;
class ElidedLabel;

// The window's toolbar: the title and subtitle, the "Filter" field bound to
// the search text, and the buttons for the window's commands that toggle the
// renaming criteria and the highlighting of changes.
class WindowToolbar : public QToolBar {
    Q_OBJECT

public:
    WindowToolbar(AppModel& model, const Commands& commands, QWidget* parent = nullptr);

    QLineEdit* filterField() const { return filter_; }
    QToolButton* criteriaButton() const { return criteria_; }
    QToolButton* highlightButton() const { return highlight_; }
    // Places a control just before the filter field.
    void addBeforeFilter(QWidget* widget);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void showTitle();
    void showState();

    AppModel& model_;
    const Commands& commands_;
    ElidedLabel* title_;
    ElidedLabel* subtitle_;
    QLineEdit* filter_;
    QAction* filterAction_ = nullptr;
    QToolButton* criteria_;
    QToolButton* highlight_;
};

} // namespace morvane::app
