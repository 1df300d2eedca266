#include "app/desktop/Appearance.h"

#include "app/desktop/MV.h"
#include "app/model/AppSettings.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace morvane::app {
namespace {

constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kPortalSettings = "org.freedesktop.portal.Settings";
constexpr const char* kAppearanceGroup = "org.freedesktop.appearance";
constexpr const char* kColorScheme = "color-scheme";

// Values come wrapped in variants, once or (from the older Read) twice.
QVariant unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.typeId() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}

// Fusion draws check boxes and radio buttons with an outline a shade darker
// than the window, which vanishes on a dark background (an unchecked radio
// button becomes a black disc); in dark appearance a lighter outline is
// drawn over them, so an unchecked one stays visible.
class MorvaneStyle final : public QProxyStyle {
public:
    MorvaneStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool checkBox = element == PE_IndicatorCheckBox || element == PE_IndicatorItemViewItemCheck;
        const bool radio = element == PE_IndicatorRadioButton;
        if ((checkBox || radio) && MV::isDark(option->palette)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(Qt::NoBrush);
            QColor outline = option->palette.color(QPalette::WindowText);
            outline.setAlpha(option->state.testFlag(State_Enabled) ? 110 : 50);
            painter->setPen(QPen(outline, 1));
            const QRect box =
                element == PE_IndicatorItemViewItemCheck ? option->rect : option->rect.adjusted(0, 0, -1, -1);
            const QRectF line = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
            if (radio) {
                painter->drawEllipse(line);
            } else {
                painter->drawRoundedRect(line, 2, 2);
            }
            painter->restore();
        }
    }
};

} // namespace

Appearance::Appearance(AppSettings& settings, bool watchDesktop, QObject* parent)
    : QObject(parent), settings_(settings), platformPalette_(QApplication::palette()) {
    QApplication::setStyle(new MorvaneStyle);
    if (watchDesktop) {
        readPortal();
    }
    connect(&settings_, &AppSettings::shownAppearanceChanged, this, &Appearance::apply);
    apply();
}

QPalette Appearance::lightPalette() {
    static const QPalette palette = [] {
        QPalette made = QStyleFactory::create("Fusion")->standardPalette();
        made.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xe4));
        made.setColor(QPalette::Link, QColor(0x1f, 0x5f, 0xd4));
        // Secondary texts (summaries, counts, notes, footers) read at 4.5:1
        // or more on every background they sit on.
        made.setColor(QPalette::PlaceholderText, QColor(0x66, 0x66, 0x6b));
        return made;
    }();
    return palette;
}

QPalette Appearance::darkPalette() {
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xe8, 0xe8, 0xea);
    const QColor disabledText(0x7a, 0x7a, 0x80);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x29));
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3e));
    palette.setColor(QPalette::ToolTipText, text);
    // As in light appearance, 4.5:1 or more on every background, rule cards included.
    palette.setColor(QPalette::PlaceholderText, QColor(0xa8, 0xa8, 0xae));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3d));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x61));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4e));
    palette.setColor(QPalette::Midlight, QColor(0x3e, 0x3e, 0x42));
    palette.setColor(QPalette::Mid, QColor(0x24, 0x24, 0x27));
    palette.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1a));
    palette.setColor(QPalette::Shadow, QColor(0x0c, 0x0c, 0x0d));
    palette.setColor(QPalette::Highlight, QColor(0x3b, 0x7b, 0xf0));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x6a, 0xa4, 0xff));
    palette.setColor(QPalette::LinkVisited, QColor(0xb4, 0x8c, 0xff));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabledText);
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x33, 0x33, 0x36));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x4a, 0x4a, 0x4e));
    return palette;
}

void Appearance::apply() {
    QPalette palette;
    switch (settings_.shownAppearance()) {
    case AppearanceChoice::light:
        palette = lightPalette();
        break;
    case AppearanceChoice::dark:
        palette = darkPalette();
        break;
    case AppearanceChoice::system:
        if (desktopPrefersDark_) {
            palette = *desktopPrefersDark_ ? darkPalette() : lightPalette();
        } else {
            palette = MV::isDark(platformPalette_) ? darkPalette() : lightPalette();
        }
        break;
    }
    dark_ = MV::isDark(palette);
    QApplication::setPalette(palette);
    emit changed();
}

// The portal's preference: 1 prefers dark, 2 prefers light, 0 says nothing.
void Appearance::readPortal() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return;
    }
    const bool present = bus.interface()->isServiceRegistered(kPortalService).value() ||
                         bus.interface()->activatableServiceNames().value().contains(kPortalService);
    if (!present) {
        return;
    }
    for (const char* method : {"ReadOne", "Read"}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalSettings, method);
        call << QString(kAppearanceGroup) << QString(kColorScheme);
        const QDBusMessage reply = bus.call(call, QDBus::Block, 1000);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            usePortalValue(reply.arguments().front());
            break;
        }
    }
    bus.connect(kPortalService, kPortalPath, kPortalSettings, "SettingChanged", this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
}

void Appearance::usePortalValue(const QVariant& value) {
    const uint scheme = unwrapped(value).toUInt();
    desktopPrefersDark_ = scheme == 0 ? std::nullopt : std::optional(scheme == 1);
}

void Appearance::portalSettingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    if (group == kAppearanceGroup && key == kColorScheme) {
        usePortalValue(value.variant());
        apply();
    }
}

} // namespace morvane::app
