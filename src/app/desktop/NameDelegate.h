#pragma once

#include <QStyledItemDelegate>

namespace morvane::app {

class AppSettings;

// Draws the New Name column with its changes highlighted while the setting
// says so; every other cell as the style draws it. A new name is edited in a
// field that starts with its stem selected, as file managers do.
class NameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    NameDelegate(const AppSettings& settings, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const AppSettings& settings_;
};

} // namespace morvane::app
