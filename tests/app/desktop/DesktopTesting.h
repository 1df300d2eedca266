#pragma once

#include "app/TestClasses.h"
#include "app/desktop/Clipboard.h"
#include "app/desktop/DesktopApp.h"
#include "app/desktop/FileDialogs.h"
#include "app/desktop/FileManager.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/model/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane::app::testing {

// Dialogs that answer what the test told them to, in order; nothing (as if
// cancelled) when told nothing.
struct ScriptedDialogs final : FileDialogs {
    std::deque<std::optional<std::string>> folders;
    std::deque<std::optional<std::string>> chosenFiles;
    std::deque<std::optional<std::string>> saveFiles;
    std::vector<std::string> chosenFileList; // the next choice of several files
    int asked = 0;

    static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFolder(QWidget*) override {
        ++asked;
        return next(folders);
    }
    std::optional<std::string> openFile(QWidget*, const QString&, const QString&) override {
        ++asked;
        return next(chosenFiles);
    }
    std::vector<std::string> openFiles(QWidget*, const QString&, const QString&) override {
        ++asked;
        return std::exchange(chosenFileList, {});
    }
    std::optional<std::string> saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        ++asked;
        return next(saveFiles);
    }
};

struct ScriptedClipboard final : Clipboard {
    std::optional<std::string> held;
    std::optional<std::string> text() const override { return held; }
};

// Records the folders it was asked to show instead of showing them.
struct ScriptedFileManager final : FileManager {
    std::vector<std::string> shown;
    void showFolder(const std::string& path) override { shown.push_back(path); }
};

// An application over settings, presets and history in a temporary folder,
// with scripted dialogs and clipboard, and real folders of files to open.
struct DesktopFixture {
    DesktopFixture() = default;
    // Every window reads and renames through `disk` (without a folder picker).
    explicit DesktopFixture(std::shared_ptr<FileSystem> through) : disk(std::move(through)) {}

    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<ScriptedClipboard> clipboard = std::make_shared<ScriptedClipboard>();
    std::shared_ptr<ScriptedFileManager> fileManager = std::make_shared<ScriptedFileManager>();
    std::shared_ptr<FileSystem> disk; // the local disk when null
    IsolatedDesktop desktop{services()};
    QTemporaryDir& root = desktop.root;
    std::unique_ptr<AppSettings>& settings = desktop.settings;
    std::unique_ptr<DesktopApp>& app = desktop.app;

    DesktopServices services() const {
        DesktopServices made;
        made.dialogs = dialogs;
        made.clipboard = clipboard;
        made.fileManager = fileManager;
        if (disk) {
            made.modelEnvironment.access = std::make_shared<FolderAccess>(disk);
        }
        return made;
    }

    // A folder with these files, each `size` bytes times its position + 1.
    QString folder(const QString& name, const QStringList& files) const {
        const QString path = root.filePath(name);
        QDir().mkpath(path);
        int size = 10;
        for (const QString& file : files) {
            QFile made(QDir(path).filePath(file));
            made.open(QIODevice::WriteOnly);
            made.write(QByteArray(size, 'x'));
            size += 10;
        }
        return path;
    }

    MainWindow* window() {
        MainWindow* made = app->newWindow();
        if (!QTest::qWaitForWindowExposed(made)) {
            qWarning("the window was not exposed");
        }
        return made;
    }
};

// The window's model has loaded and published a plan with `rows` rows.
inline bool waitForRows(MainWindow& window, std::size_t rows) {
    return QTest::qWaitFor(
        [&] { return !window.model().items().loading() && window.model().preview().rowCount() == rows; },
        5000);
}

// The next published plan.
inline bool waitForPlan(MainWindow& window) {
    QSignalSpy published(&window.model().preview(), &WindowPreview::planChanged);
    return published.wait(5000);
}

// Makes the window the frontmost one, as a click on it would.
inline bool bringToFront(QWidget* window) {
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace morvane::app::testing
