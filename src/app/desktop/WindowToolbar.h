#pragma once

#include <QToolBar>

class QLabel;
class QLineEdit;
class QToolButton;

namespace morvane::app {

class AppModel;
class ElidedLabel;

// The window's toolbar: the title and subtitle, the "Filter" field bound to
// the search text, and the buttons that toggle the renaming criteria and
// the highlighting of changes.
class WindowToolbar : public QToolBar {
    Q_OBJECT

public:
    explicit WindowToolbar(AppModel& model, QWidget* parent = nullptr);

    QLineEdit* filterField() const { return filter_; }
    QToolButton* criteriaButton() const { return criteria_; }
    QToolButton* highlightButton() const { return highlight_; }
    // Places a control just before the filter field.
    void addBeforeFilter(QWidget* widget);
    void retranslate();

private:
    void showTitle();
    void showState();

    AppModel& model_;
    ElidedLabel* title_;
    ElidedLabel* subtitle_;
    QLineEdit* filter_;
    QAction* filterAction_ = nullptr;
    QToolButton* criteria_;
    QToolButton* highlight_;
};

} // namespace morvane::app
