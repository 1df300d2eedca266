#pragma once

#include "app/desktop/DesktopServices.h"

#include <QObject>
#include <QPointer>
#include <QTranslator>
#include <memory>
#include <vector>

namespace morvane::app {

class Appearance;
class AppSettings;
class Clipboard;
class FileDialogs;
class FileManager;
class MainWindow;
class SettingsWindow;
class Updater;

// The application: any number of windows, each with its own model and
// commands, the settings window, the appearance, the services, and the
// interface language of every widget: the texts Qt draws itself follow the
// language the user chose, and each change is announced to every widget
// (QEvent::LanguageChange) once Qt's translations are in place. It quits
// after the last window closes when the settings say so.
class DesktopApp : public QObject {
    Q_OBJECT

public:
    DesktopApp(AppSettings& settings, DesktopServices services, QObject* parent = nullptr);
    ~DesktopApp() override;

    AppSettings& settings() const { return settings_; }
    Appearance& appearance() const { return *appearance_; }
    FileManager& fileManager() const { return *services_.fileManager; }
    Updater& updater() const { return *services_.updater; }

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
    void bringForward(MainWindow* window);
    void followLanguage();

    AppSettings& settings_;
    DesktopServices services_;
    Appearance* appearance_;
    std::unique_ptr<QTranslator> qtTranslations_;
    std::vector<MainWindow*> windows_;
    QPointer<MainWindow> frontmost_;
    QPointer<SettingsWindow> settingsWindow_;
};

} // namespace morvane::app
