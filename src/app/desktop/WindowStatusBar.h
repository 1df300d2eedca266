#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace morvane::app {

class AppModel;
class ChangeLegend;

// Under the table: the figures of the preview, the legend of the change
// marks while changes are highlighted, and the Rename button, which asks for
// the confirmation.
class WindowStatusBar : public QWidget {
    Q_OBJECT

public:
    explicit WindowStatusBar(AppModel& model, QWidget* parent = nullptr);

    QPushButton* renameButton() const { return rename_; }
    QString figuresText() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void showFigures();

    AppModel& model_;
    QLabel* items_;
    QLabel* included_;
    QLabel* toRename_;
    QLabel* conflictsIcon_;
    QLabel* conflicts_;
    ChangeLegend* legend_;
    QPushButton* rename_;
};

} // namespace morvane::app
