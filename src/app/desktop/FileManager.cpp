#include "app/desktop/FileManager.h"

#include "app/model/QtStrings.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>

namespace morvane::app {

FreedesktopFileManager::FreedesktopFileManager(QDBusConnection bus, Opener openFolder)
    : bus_(std::move(bus)), openFolder_(std::move(openFolder)) {}

void FreedesktopFileManager::showFolder(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(toQString(path));
    if (!bus_.isConnected()) {
        openFolder_(url);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{url.toString()} << QString();
    // Asynchronous: a file manager that takes its time never holds up the window.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, url, open = openFolder_] {
                         if (watcher->isError()) {
                             open(url);
                         }
                         watcher->deleteLater();
                     });
}

std::shared_ptr<FileManager> FileManager::system() {
    return std::make_shared<FreedesktopFileManager>(
        QDBusConnection::sessionBus(), [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

} // namespace morvane::app
