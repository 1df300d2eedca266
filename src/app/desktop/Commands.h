#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;

namespace morvane::app {

class DesktopApp;
class MainWindow;

// The menu commands with their shortcuts. One set of actions serves every
// window's menu bar and acts on the frontmost window's model; titles, check
// marks and enabled states follow that model.
class Commands : public QObject {
    Q_OBJECT

public:
    explicit Commands(DesktopApp& app);
    ~Commands() override;

    static QKeySequence criteriaShortcut();
    static QKeySequence highlightShortcut();

    // Fills a window's menu bar: File, View, Presets (shown once it has
    // items), Help.
    void fillMenuBar(QMenuBar* bar);
    // The window the commands act on; null when no window is left.
    void setFrontmost(MainWindow* window);
    MainWindow* frontmost() const;

    QAction* newWindow() const { return newWindow_; }
    QAction* openFolder() const { return openFolder_; }
    QAction* rename() const { return rename_; }
    QAction* preview() const { return preview_; }
    QAction* settings() const { return settings_; }
    QAction* closeWindow() const { return closeWindow_; }
    QAction* quit() const { return quit_; }
    QAction* highlightChanges() const { return highlight_; }
    QAction* showOnlyChanged() const { return onlyChanged_; }
    QAction* criteria() const { return criteria_; }
    QAction* checkForUpdates() const { return updates_; }
    QAction* about() const { return about_; }

private:
    QAction* make(const QKeySequence& shortcut = {});
    void refresh();
    void retranslate();

    DesktopApp& app_;
    QPointer<MainWindow> frontmost_;
    QList<QMetaObject::Connection> frontmostConnections_;
    QList<QPointer<QMenu>> menus_;
    QAction* newWindow_;
    QAction* openFolder_;
    QAction* rename_;
    QAction* preview_;
    QAction* settings_;
    QAction* closeWindow_;
    QAction* quit_;
    QAction* highlight_;
    QAction* onlyChanged_;
    QAction* criteria_;
    QAction* updates_;
    QAction* about_;
};

} // namespace morvane::app
