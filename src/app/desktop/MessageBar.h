#pragma once

#include <QFrame>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace morvane::app {

// A line across the top of the window's content: a symbol, a text that wraps
// when it is long, and buttons at its end. A warning is tinted in the
// warning colour, anything else in the accent colour, both faint enough for
// the text to read in light and dark appearance.
class MessageBar : public QFrame {
    Q_OBJECT

public:
    explicit MessageBar(QWidget* parent = nullptr);

    // `symbol` is an icon name ("exclamationmark.triangle.fill").
    void setMessage(const QString& text, const QString& symbol, bool warning);
    // A button at the end of the bar, after those added before.
    QPushButton* addButton(const QString& objectName);
    QLabel* textLabel() const { return text_; }
    bool isWarning() const { return warning_; }

    // The bar's background and bottom line, for other widgets that sit in its place.
    static void paintBackground(QWidget& widget, bool warning);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showSymbol();

    QLabel* symbol_;
    QLabel* text_;
    QHBoxLayout* buttons_;
    QString symbolName_;
    bool warning_ = false;
};

} // namespace morvane::app
