#pragma once

#include <QString>
#include <initializer_list>
#include <string>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace morvane::app {

// The small pieces every rule editor is made of. The `show` functions put a
// model value into a control only when it differs from what the control
// shows, so a field being typed in keeps its cursor and selection when the
// model answers, and no change signal fires.
namespace EditorControls {

// A text field; `label` is its accessible name, `placeholder` shows while it is empty.
QLineEdit* textField(const QString& label, const QString& placeholder = {});
// A pop-up menu of choices, in order, by their (translated) titles.
QComboBox* choiceMenu(const QString& label, std::initializer_list<const char*> titles);
// A secondary note (a unit, a hint).
QLabel* note(const QString& text);
// A symbol at the small icon size, drawn in the colours of the moment
// (a warning in its own colour).
QWidget* symbol(const QString& name);
// Controls side by side in one row of a form, left-aligned.
QWidget* row(std::initializer_list<QWidget*> parts);

void showText(QLineEdit* field, const std::string& text);
void showText(QLabel* label, const QString& text);
void showChoice(QComboBox* menu, int index);
void showChecked(QAbstractButton* button, bool checked);
void showVisible(QWidget* widget, bool visible);

} // namespace EditorControls
} // namespace morvane::app
