#include "app/desktop/ChangeLegend.h"

#include "app/desktop/DiffText.h"
#include "app/desktop/UiText.h"

#include <QEvent>
#include <QPainter>

namespace morvane::app {
namespace {

constexpr int kGap = 14;

std::vector<DiffText> samples() {
    using Kind = NameDiff::Kind;
    using Side = DiffText::Side;
    return {DiffText({{ui("Added"), Kind::added}}, Side::newName),
            DiffText({{ui("Removed"), Kind::removed}}, Side::oldName),
            DiffText({{ui("Replaced"), Kind::replaced}}, Side::newName),
            DiffText({{ui("Case"), Kind::caseChange}}, Side::newName)};
}

} // namespace

ChangeLegend::ChangeLegend(QWidget* parent) : QWidget(parent) {
    // Takes what room the status bar has left, and shows only when all of it fits.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    retranslate();
}

void ChangeLegend::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void ChangeLegend::retranslate() {
    QStringList names;
    for (const DiffText& sample : samples()) {
        names << sample.plainText();
    }
    setAccessibleName(names.join(", "));
    updateGeometry();
    update();
}

QSize ChangeLegend::sizeHint() const {
    int width = 0;
    for (const DiffText& sample : samples()) {
        width += sample.width(font()) + 6 + kGap;
    }
    return {width - kGap, fontMetrics().height() + 4};
}

void ChangeLegend::paintEvent(QPaintEvent*) {
    if (width() < sizeHint().width()) {
        return;
    }
    QPainter painter(this);
    int x = width() - sizeHint().width();
    for (const DiffText& sample : samples()) {
        const int width = sample.width(font()) + 6;
        sample.paint(painter, QRect(x + 3, 0, width - 6, height()), font(), palette(),
                     palette().color(QPalette::WindowText));
        x += width + kGap;
    }
}

} // namespace morvane::app
