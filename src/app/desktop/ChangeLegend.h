#pragma once

#include <QWidget>

namespace morvane::app {

// Samples of the change marks with their names: "Added", "Removed",
// "Replaced", "Case".
class ChangeLegend : public QWidget {
    Q_OBJECT

public:
    explicit ChangeLegend(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void retranslate();
};

} // namespace morvane::app
