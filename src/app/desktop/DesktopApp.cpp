#include "app/desktop/DesktopApp.h"

#include "app/desktop/Appearance.h"
#include "app/desktop/Clipboard.h"
#include "app/desktop/Commands.h"
#include "app/desktop/FileDialogs.h"
#include "app/desktop/FileManager.h"
#include "app/desktop/Icons.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/UiText.h"
#include "app/desktop/Updater.h"
#include "app/model/AppSettings.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <algorithm>

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0"
#endif
#ifndef MORVANE_LICENSE
#define MORVANE_LICENSE "GPL-3.0-or-later"
#endif

namespace morvane::app {

DesktopApp::DesktopApp(AppSettings& settings, DesktopServices services, QObject* parent)
    : QObject(parent), settings_(settings), services_(std::move(services)) {
    if (!services_.dialogs) {
        services_.dialogs = FileDialogs::system();
    }
    if (!services_.clipboard) {
        services_.clipboard = Clipboard::system();
    }
    if (!services_.fileManager) {
        services_.fileManager = FileManager::system();
    }
    if (!services_.updater) {
        services_.updater = Updater::packageManager(settings_);
    }
    services_.modelEnvironment.settings = &settings_;
    QGuiApplication::setWindowIcon(Icons::application());
    // Windows decide themselves when the application ends (the settings window does not count).
    QGuiApplication::setQuitOnLastWindowClosed(false);
    appearance_ = new Appearance(settings_, services_.watchDesktopAppearance, this);
    // A language for this run only (a launch option) changes the language
    // without a new preference; either way every widget is told.
    connect(&settings_, &AppSettings::languageChanged, this, &DesktopApp::followLanguage);
    connect(&settings_, &AppSettings::languageDidChange, this, &DesktopApp::followLanguage);
    followLanguage();
}

DesktopApp::~DesktopApp() {
    for (MainWindow* window : std::vector<MainWindow*>(windows_)) {
        window->disconnect(this);
        delete window;
    }
    delete settingsWindow_;
    if (qtTranslations_) {
        QCoreApplication::removeTranslator(qtTranslations_.get());
    }
}

// The texts Qt draws itself (standard buttons, context menus, the names of
// keys in shortcuts) follow a language the user chose; following the
// desktop, Qt picks its own. The change is announced only once Qt's
// translations are in place, so that everything a widget writes anew, its
// shortcuts included, is in the new language.
void DesktopApp::followLanguage() {
    const std::optional<AppLanguage> chosen = AppLanguage::named(settings_.languagePreference());
    QString wanted;
    if (chosen) {
        wanted = "qtbase_" + toQString(chosen->code);
        wanted.replace('-', '_');
    }
    const QString installed = qtTranslations_ ? qtTranslations_->objectName() : QString();
    if (wanted != installed) {
        if (qtTranslations_) {
            QCoreApplication::removeTranslator(qtTranslations_.get());
            qtTranslations_.reset();
        }
        auto translator = std::make_unique<QTranslator>();
        translator->setObjectName(wanted);
        // The loader drops "_valencia", then "_ES", when there is no file for them.
        if (!wanted.isEmpty() &&
            translator->load(wanted, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.get());
            qtTranslations_ = std::move(translator);
        }
    }
    QEvent changed(QEvent::LanguageChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &changed);
}

MainWindow* DesktopApp::newWindow() {
    auto* window = new MainWindow(services_);
    windows_.push_back(window);
    Commands& commands = window->commands();
    connect(&commands, &Commands::newWindowRequested, this, &DesktopApp::newWindow);
    connect(&commands, &Commands::settingsRequested, this, &DesktopApp::showSettings);
    connect(&commands, &Commands::quitRequested, this, &DesktopApp::quit);
    connect(&commands, &Commands::aboutRequested, this, &DesktopApp::showAbout);
    connect(&commands, &Commands::updatesRequested, this, &DesktopApp::checkForUpdates);
    connect(window, &MainWindow::activated, this, &DesktopApp::bringForward);
    connect(window, &MainWindow::settingsRequested, this, &DesktopApp::showSettings);
    connect(window, &QObject::destroyed, this, [this, window] { windowClosed(window); });
    // A new window opens a little below and to the right of the one in front.
    if (MainWindow* front = frontmost()) {
        window->move(front->pos() + QPoint(28, 28));
    }
    window->show();
    window->raise();
    window->activateWindow();
    bringForward(window);
    return window;
}

void DesktopApp::bringForward(MainWindow* window) {
    frontmost_ = window;
}

MainWindow* DesktopApp::frontmost() const {
    return frontmost_;
}

SettingsWindow* DesktopApp::settingsWindow() const {
    return settingsWindow_;
}

void DesktopApp::windowClosed(MainWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    if (frontmost_ == nullptr || frontmost_ == window) {
        bringForward(windows_.empty() ? nullptr : windows_.back());
    }
    if (!windows_.empty()) {
        return;
    }
    // Without a window a Linux application cannot be reached at all, so it
    // stays only while its settings are open and the user asked it to stay.
    if (settings_.quitAfterLastWindow() || !settingsWindow_ || !settingsWindow_->isVisible()) {
        if (settingsWindow_) {
            settingsWindow_->close();
        }
        emit lastWindowClosed();
    }
}

void DesktopApp::showSettings() {
    if (!settingsWindow_) {
        settingsWindow_ = new SettingsWindow(settings_, *services_.updater);
        settingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
        connect(settingsWindow_, &QObject::destroyed, this, [this] {
            if (windows_.empty()) {
                emit lastWindowClosed();
            }
        });
    }
    settingsWindow_->show();
    settingsWindow_->raise();
    settingsWindow_->activateWindow();
}

void DesktopApp::showAbout() {
    const QString secondary = QApplication::palette().color(QPalette::PlaceholderText).name();
    const QString text =
        QString("<h3>Morvane</h3><p>%1</p><p style=\"color:%2\">%3<br>%4</p><p>%5</p>")
            .arg(uiFormat("Version %@", MORVANE_VERSION).toHtmlEscaped(), secondary,
                 ui("Preview every new name before anything changes on disk.").toHtmlEscaped(),
                 ui("Renames are recorded and can be undone.").toHtmlEscaped(),
                 uiFormat("Licensed under the %@ licence.", MORVANE_LICENSE).toHtmlEscaped());
    QMessageBox::about(frontmost(), ui("About Morvane"), text);
}

void DesktopApp::checkForUpdates() {
    services_.updater->checkForUpdates(frontmost());
}

void DesktopApp::quit() {
    for (MainWindow* window : std::vector<MainWindow*>(windows_)) {
        window->close();
    }
    if (settingsWindow_) {
        settingsWindow_->close();
    }
}

} // namespace morvane::app
