#pragma once

#include <QLabel>

namespace morvane::app {

// A one-line label that takes any width it is given and ends its text in "…"
// where it does not fit (or cuts the middle, for paths), so a long name or
// path never widens the window; the whole text is its tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideRight, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return text_; }
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode_;
    QString text_;
};

} // namespace morvane::app
