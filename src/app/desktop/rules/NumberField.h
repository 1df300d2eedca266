#pragma once

#include <QLineEdit>
#include <QLocale>
#include <cstdint>
#include <optional>

class QAction;

namespace morvane::app {

// A text field for a whole number, read and shown in the number format of
// the interface language, with no limits of its own. What is not a number
// changes nothing: the field is marked (a red frame and a warning symbol
// that says why) and keeps the text, so nothing typed is lost, until it
// holds a number again or the rule's value changes from elsewhere.
class NumberField : public QLineEdit {
    Q_OBJECT

public:
    explicit NumberField(const QString& label, QWidget* parent = nullptr);

    // The rule's value, from the model.
    void showValue(std::int64_t value);
    bool isMarked() const { return marked_; }
    QSize sizeHint() const override;

signals:
    // A number the user entered.
    void valueEdited(std::int64_t value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void read(bool finished);
    void setMarked(bool marked);

    QLocale locale_;
    std::optional<std::int64_t> shown_;
    bool marked_ = false;
    QAction* warning_;
};

} // namespace morvane::app
