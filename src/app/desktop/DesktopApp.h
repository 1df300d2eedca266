#pragma once

#include "app/model/AppModel.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

namespace morvane::app {

class Appearance;
class AppSettings;
class Clipboard;
class Commands;
class FileDialogs;
class FileManager;
class MainWindow;
class SettingsWindow;
class Updater;

// What the application reaches outside itself, passed in so that tests can
// script it; every field left empty gets the desktop's own.
struct DesktopServices {
    std::shared_ptr<FileDialogs> dialogs;
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<FileManager> fileManager;
    std::shared_ptr<Updater> updater;
    // The base of every window's model (settings aside); the folder picker is
    // added per window.
    AppModel::Environment modelEnvironment;
    // Ask the desktop portal for its colour scheme (not in tests).
    bool watchDesktopAppearance = true;
};

// The application: any number of windows, each with its own model, the
// shared commands, the settings window, the appearance, and the services.
// It quits after the last window closes when the settings say so.
class DesktopApp : public QObject {
    Q_OBJECT

public:
    DesktopApp(AppSettings& settings, DesktopServices services, QObject* parent = nullptr);
    ~DesktopApp() override;

    AppSettings& settings() const { return settings_; }
    Commands& commands() const { return *commands_; }
    Appearance& appearance() const { return *appearance_; }
    FileDialogs& dialogs() const { return *services_.dialogs; }
    const std::shared_ptr<FileDialogs>& dialogsShared() const { return services_.dialogs; }
    const std::shared_ptr<Clipboard>& clipboardShared() const { return services_.clipboard; }
    FileManager& fileManager() const { return *services_.fileManager; }
    Updater& updater() const { return *services_.updater; }

    // A model environment for a window whose folder picker is `chooseFolder`.
    AppModel::Environment modelEnvironment(std::function<std::optional<std::string>()> chooseFolder) const;

    // Opens another window and brings it to the front.
    MainWindow* newWindow();
    const std::vector<MainWindow*>& windows() const { return windows_; }
    MainWindow* frontmost() const;
    SettingsWindow* settingsWindow() const;

    void showSettings();
    void showAbout();
    void checkForUpdates();
    // Closes every window, which ends the application.
    void quit();

signals:
    // The last window closed and the application is to end.
    void lastWindowClosed();

private:
    void windowClosed(MainWindow* window);

    AppSettings& settings_;
    DesktopServices services_;
    Appearance* appearance_;
    Commands* commands_;
    std::vector<MainWindow*> windows_;
    QPointer<SettingsWindow> settingsWindow_;
};

} // namespace morvane::app
