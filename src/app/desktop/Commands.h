#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace morvane::app {

class AppModel;
class AppSettings;

// The menu commands with their shortcuts. One set of actions serves every
// window's menu bar and acts on the frontmost window's model; titles, check
// marks and enabled states follow that model. Commands about the application
// itself (a new window, the settings…) are asked for with signals.
class Commands : public QObject {
    Q_OBJECT

public:
    explicit Commands(AppSettings& settings, QObject* parent = nullptr);
    ~Commands() override;

    // Fills a window's menu bar: File, Edit, View, Presets (which each
    // window fills from its own model), Help.
    void fillMenuBar(QMenuBar* bar);
    // The window the commands act on, and its model; null when no window is left.
    void setFrontmost(QWidget* window, AppModel* model);
    QWidget* frontmost() const;

    QAction* newWindow() const { return newWindow_; }
    QAction* openFolder() const { return openFolder_; }
    QAction* rename() const { return rename_; }
    QAction* preview() const { return preview_; }
    QAction* undo() const { return undo_; }
    QAction* settings() const { return settingsAction_; }
    QAction* closeWindow() const { return closeWindow_; }
    QAction* quit() const { return quit_; }
    QAction* highlightChanges() const { return highlight_; }
    QAction* showOnlyChanged() const { return onlyChanged_; }
    QAction* criteria() const { return criteria_; }
    QAction* checkForUpdates() const { return updates_; }
    QAction* about() const { return about_; }

signals:
    void newWindowRequested();
    void settingsRequested();
    void quitRequested();
    void aboutRequested();
    void updatesRequested();

private:
    QAction* make(const QKeySequence& shortcut = {});
    void refresh();
    void retranslate();

    AppSettings& settings_;
    QPointer<QWidget> frontmost_;
    QPointer<AppModel> model_;
    QList<QMetaObject::Connection> frontmostConnections_;
    QList<QPointer<QMenu>> menus_;
    QAction* newWindow_;
    QAction* openFolder_;
    QAction* rename_;
    QAction* preview_;
    QAction* undo_;
    QAction* settingsAction_;
    QAction* closeWindow_;
    QAction* quit_;
    QAction* highlight_;
    QAction* onlyChanged_;
    QAction* criteria_;
    QAction* updates_;
    QAction* about_;
};

} // namespace morvane::app
