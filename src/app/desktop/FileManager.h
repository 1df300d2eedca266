#pragma once

#include <QDBusConnection>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>

namespace morvane::app {

// Shows a folder in the desktop's file manager ("Show in File Manager").
class FileManager {
public:
    virtual ~FileManager() = default;
    virtual void showFolder(const std::string& path) = 0;

    static std::shared_ptr<FileManager> system();
};

// The freedesktop file-manager call over D-Bus, which selects the folder in
// its parent; where no file manager answers it, the folder is opened with the
// desktop's handler for folders instead.
class FreedesktopFileManager final : public FileManager {
public:
    using Opener = std::function<bool(const QUrl&)>;

    FreedesktopFileManager(QDBusConnection bus, Opener openFolder);

    void showFolder(const std::string& path) override;

private:
    QDBusConnection bus_;
    Opener openFolder_;
};

} // namespace morvane::app
