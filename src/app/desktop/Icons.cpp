#include "app/desktop/Icons.h"

#include "app/desktop/MV.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

// The symbols are compiled into this library; a static library's resources
// are registered by hand.
static void registerIcons() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace morvane::app {
namespace {

QByteArray svgSource(const QString& name) {
    registerIcons();
    static QHash<QString, QByteArray> sources;
    auto found = sources.find(name);
    if (found == sources.end()) {
        QFile file(":/icons/" + name + ".svg");
        found = sources.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *found;
}

// Renders the symbol at paint time, in the colour of the moment.
class SymbolEngine final : public QIconEngine {
public:
    SymbolEngine(QString name, QColor color, bool statusColors, int rotation = 0)
        : name_(std::move(name)), color_(color), statusColors_(statusColors), rotation_(rotation) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = render(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return render(size, mode, state);
    }

    QIconEngine* clone() const override { return new SymbolEngine(name_, color_, statusColors_, rotation_); }
    QString key() const override { return "morvane-symbol"; }

private:
    QColor colorFor(QIcon::Mode mode) const {
        const QPalette palette = QApplication::palette();
        if (mode == QIcon::Disabled) {
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        }
        if (statusColors_) {
            const QColor status = Icons::statusColor(name_, MV::isDark(palette));
            if (status.isValid()) {
                return status;
            }
        }
        if (color_.isValid()) {
            return color_;
        }
        return palette.color(mode == QIcon::Selected ? QPalette::HighlightedText : QPalette::WindowText);
    }

    QPixmap render(const QSize& size, QIcon::Mode mode, QIcon::State) const {
        const QColor color = colorFor(mode);
        const QString cacheKey = QString("%1|%2|%3x%4|%5")
                                     .arg(name_, color.name(QColor::HexArgb))
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(rotation_);
        static QHash<QString, QPixmap> cache;
        if (const auto found = cache.constFind(cacheKey); found != cache.constEnd()) {
            return *found;
        }
        QByteArray source = svgSource(name_);
        source.replace("currentColor", color.name(QColor::HexRgb).toUtf8());
        QPixmap pixmap(size.isEmpty() ? QSize(16, 16) : size);
        pixmap.fill(Qt::transparent);
        QSvgRenderer renderer(source);
        QPainter painter(&pixmap);
        painter.setOpacity(color.alphaF());
        if (rotation_ != 0) {
            painter.translate(pixmap.width() / 2.0, pixmap.height() / 2.0);
            painter.rotate(rotation_);
            painter.translate(-pixmap.width() / 2.0, -pixmap.height() / 2.0);
        }
        renderer.render(&painter, QRectF(QPointF(0, 0), pixmap.size()));
        painter.end();
        cache.insert(cacheKey, pixmap);
        return pixmap;
    }

    QString name_;
    QColor color_;
    bool statusColors_;
    int rotation_;
};

} // namespace

namespace Icons {

QIcon symbol(const QString& name) {
    return QIcon(new SymbolEngine(name, QColor(), false));
}

QIcon symbol(const QString& name, const QColor& color) {
    return QIcon(new SymbolEngine(name, color, false));
}

QIcon rotatedSymbol(const QString& name, int degrees) {
    return QIcon(new SymbolEngine(name, QColor(), false, degrees));
}

QIcon statusSymbol(const QString& name) {
    return QIcon(new SymbolEngine(name, QColor(), true));
}

QColor statusColor(const QString& symbolName, bool dark) {
    if (symbolName == "checkmark") {
        return dark ? QColor(0x4c, 0xd9, 0x64) : QColor(0x1f, 0x9d, 0x3a);
    }
    if (symbolName == "exclamationmark.triangle.fill" || symbolName == "exclamationmark.circle") {
        return dark ? QColor(0xff, 0xb3, 0x40) : QColor(0xd9, 0x7a, 0x00);
    }
    if (symbolName == "xmark.octagon.fill") {
        return dark ? QColor(0xff, 0x6b, 0x61) : QColor(0xd7, 0x26, 0x1e);
    }
    if (symbolName == "pencil") {
        return dark ? QColor(0x64, 0xb5, 0xff) : QColor(0x1a, 0x6f, 0xd6);
    }
    if (symbolName == "minus" || symbolName == "circle.dashed" ||
        symbolName == "line.3.horizontal.decrease") {
        return dark ? QColor(0x98, 0x98, 0x9d) : QColor(0x8a, 0x8a, 0x8e);
    }
    return {};
}

QIcon application() {
    registerIcons();
    return QIcon(":/icons/morvane.svg");
}

} // namespace Icons
} // namespace morvane::app
