#pragma once

#include <QKeySequence>
#include <QObject>
#include <string_view>

class QAction;
class QMenuBar;
class QWidget;

namespace morvane::app {

class AppModel;

// The commands of one window, each a named action registered here and only
// here ("newWindow", "openFolder", "rename", "preview", "undoRename",
// "settings", "closeWindow", "quit", "highlightChanges", "showOnlyChanged",
// "toggleCriteria", "checkForUpdates", "about"): the menu bar, the toolbar,
// the shortcuts and tests find them by name. They act on the window's own
// model; their shortcuts belong to the window, so they reach the window in
// front. Titles, check marks and enabled states follow the model, which
// decides them. Commands about the application itself (a new window, the
// settings…) are asked for with signals.
class Commands : public QObject {
    Q_OBJECT

public:
    Commands(AppModel& model, QWidget* window);

    // The action of the command with this name; null for no such command.
    QAction* action(std::string_view name) const;
    // Fills the window's menu bar: File, Edit, View, Presets (empty, for the
    // window's presets), Help.
    void fillMenuBar(QMenuBar* bar);

signals:
    void newWindowRequested();
    void settingsRequested();
    void quitRequested();
    void aboutRequested();
    void updatesRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* add(const char* name, const QKeySequence& shortcut = {});
    void refresh();
    void retranslate();

    AppModel& model_;
    QWidget* window_;
    QMenuBar* bar_ = nullptr;
};

} // namespace morvane::app
