#pragma once

#include <QString>
#include <QWidget>

namespace morvane::app {

// One name with a part of it marked: the text before it, the part on a
// highlight, the text after it. When the name is wider than the room, the
// text before and after gives way first (elided towards the outer ends),
// so the marked part stays in view. Drawn in the palette of the moment.
class SegmentPreview : public QWidget {
    Q_OBJECT

public:
    explicit SegmentPreview(QWidget* parent = nullptr);

    void setParts(const QString& before, const QString& selected, const QString& after);
    const QString& before() const { return before_; }
    const QString& selected() const { return selected_; }
    const QString& after() const { return after_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString before_;
    QString selected_;
    QString after_;
};

} // namespace morvane::app
