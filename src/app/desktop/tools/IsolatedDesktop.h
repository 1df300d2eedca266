#pragma once

#include "app/desktop/DesktopApp.h"
#include "app/model/AppSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace morvane::app {

// The application with its settings, presets and history in a temporary
// folder of its own, for tests, screenshots and benchmarks: nothing of the
// user's is read or changed, and the desktop is not asked for its appearance.
struct IsolatedDesktop {
    QTemporaryDir root;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<DesktopApp> app;

    explicit IsolatedDesktop(DesktopServices services = {}) {
        qputenv("XDG_DATA_HOME", root.filePath("data").toUtf8());
        settings = std::make_unique<AppSettings>(
            std::make_unique<QSettings>(root.filePath("settings.ini"), QSettings::IniFormat),
            std::vector<std::string>{"en-US"});
        settings->setWelcomeSeen(true);
        services.watchDesktopAppearance = false;
        services.modelEnvironment.presetDirectory = root.filePath("presets").toStdString();
        services.modelEnvironment.historyDirectory = root.filePath("history").toStdString();
        app = std::make_unique<DesktopApp>(*settings, std::move(services));
    }
    ~IsolatedDesktop() { app.reset(); }
};

} // namespace morvane::app
