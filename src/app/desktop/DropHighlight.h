#pragma once

#include <QWidget>

namespace morvane::app {

// Drawn over the window while files are dragged over it: the accent colour
// around the edge and a faint wash, so it is plain that a drop opens them.
class DropHighlight : public QWidget {
    Q_OBJECT

public:
    explicit DropHighlight(QWidget* parent);

    void showOver(QWidget* area);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace morvane::app
