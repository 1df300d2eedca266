// morvane: the desktop application.
#include "app/desktop/DesktopApp.h"
#include "app/model/AppSettings.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Morvane");
    QApplication::setOrganizationName("Morvane");
    QApplication::setApplicationDisplayName("Morvane");
    // The desktop entry's name: desktops find the icon and the launcher by it.
    QApplication::setDesktopFileName("app.morvane.Morvane");
    morvane::app::DesktopApp app(morvane::app::AppSettings::shared(), {});
    QObject::connect(&app, &morvane::app::DesktopApp::lastWindowClosed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    app.newWindow();
    return QApplication::exec();
}
