#include "app/desktop/SheetStyle.h"

#include <QLabel>
#include <QVBoxLayout>

namespace morvane::app::SheetStyle {

QVBoxLayout* column(QWidget* sheet) {
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(6);
    return layout;
}

QLabel* title(QLabel* label) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace morvane::app::SheetStyle
