#pragma once

#include <QStyledItemDelegate>

namespace morvane::app {

class AppSettings;

// Draws the New Name column with its changes highlighted while the setting
// says so; every other cell as the style draws it.
class NameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    NameDelegate(const AppSettings& settings, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const AppSettings& settings_;
};

} // namespace morvane::app
