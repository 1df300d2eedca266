#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QPalette>
#include <optional>

namespace morvane::app {

class AppSettings;

// The application's light or dark look: the Fusion style with a light or a
// dark palette, as the settings choose. "System" follows the desktop's
// colour-scheme preference from the desktop portal where there is one,
// otherwise the palette the platform gave the application. Switching is live.
class Appearance : public QObject {
    Q_OBJECT

public:
    // `watchDesktop`: ask the desktop portal for its preference and follow it.
    Appearance(AppSettings& settings, bool watchDesktop, QObject* parent = nullptr);

    bool isDark() const { return dark_; }
    static QPalette lightPalette();
    static QPalette darkPalette();

signals:
    void changed();

private slots:
    void portalSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void apply();
    void readPortal();
    void usePortalValue(const QVariant& value);

    AppSettings& settings_;
    QPalette platformPalette_;
    std::optional<bool> desktopPrefersDark_;
    bool dark_ = false;
};

} // namespace morvane::app
