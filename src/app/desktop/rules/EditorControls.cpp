#include "app/desktop/rules/EditorControls.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>

namespace morvane::app::EditorControls {
namespace {

class SymbolView final : public QWidget {
public:
    explicit SymbolView(const QString& name) : icon_(Icons::statusSymbol(name)) {
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
        setFixedSize(size, size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        icon_.paint(&painter, rect());
    }

private:
    QIcon icon_;
};

} // namespace

QLineEdit* textField(const QString& label, const QString& placeholder) {
    auto* field = new QLineEdit;
    field->setAccessibleName(label);
    field->setPlaceholderText(placeholder);
    field->setClearButtonEnabled(false);
    return field;
}

QComboBox* choiceMenu(const QString& label, std::initializer_list<const char*> titles) {
    auto* menu = new QComboBox;
    menu->setAccessibleName(label);
    for (const char* title : titles) {
        menu->addItem(ui(title));
    }
    // Narrower than its longest title when the card is: the title is elided.
    menu->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    menu->setMinimumContentsLength(6);
    return menu;
}

QLabel* note(const QString& text) {
    auto* label = new QLabel(text);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QWidget* symbol(const QString& name) {
    return new SymbolView(name);
}

QWidget* row(std::initializer_list<QWidget*> parts) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (QWidget* part : parts) {
        layout->addWidget(part);
    }
    layout->addStretch(1);
    return row;
}

void showText(QLineEdit* field, const std::string& text) {
    const QString shown = toQString(text);
    if (field->text() != shown) {
        const QSignalBlocker blocker(field);
        field->setText(shown);
        // A field not being typed in shows the start of its text.
        if (!field->hasFocus()) {
            field->setCursorPosition(0);
        }
    }
}

void showText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
    }
}

void showChoice(QComboBox* menu, int index) {
    if (menu->currentIndex() != index) {
        const QSignalBlocker blocker(menu);
        menu->setCurrentIndex(index);
    }
}

void showChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() != checked) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

void showVisible(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible) {
        widget->setVisible(visible);
    }
}

} // namespace morvane::app::EditorControls
