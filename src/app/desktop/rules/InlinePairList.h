#pragma once

#include "app/model/ListRow.h"

#include <QString>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace morvane::app {

// The pairs of a Replace or Regex rule as rows in the card: each with its
// switch, the find text, an arrow, the replacement and a remove button. The
// rows are kept while their number stays, so typing keeps the focus.
class InlinePairList : public QWidget {
    Q_OBJECT

public:
    // `findLabel`, `withLabel`: what the two texts are called ("Find", "Replace with").
    InlinePairList(const QString& findLabel, const QString& withLabel, QWidget* parent = nullptr);

    void showRows(const ListRows& rows);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    QLineEdit* findField(int row) const { return rows_[static_cast<std::size_t>(row)].find; }
    QLineEdit* withField(int row) const { return rows_[static_cast<std::size_t>(row)].with; }
    QCheckBox* enabledSwitch(int row) const { return rows_[static_cast<std::size_t>(row)].enabled; }
    QToolButton* removeButton(int row) const { return rows_[static_cast<std::size_t>(row)].remove; }

signals:
    // The user changed row `row`: its switch and texts as they now are.
    void rowEdited(int row, const QString& find, const QString& with, bool enabled);
    void removeRequested(int row);

private:
    struct Row {
        QWidget* widget;
        QCheckBox* enabled;
        QLineEdit* find;
        QLineEdit* with;
        QToolButton* remove;
    };
    Row makeRow(int index);

    QString findLabel_;
    QString withLabel_;
    QVBoxLayout* layout_;
    std::vector<Row> rows_;
};

} // namespace morvane::app
