#pragma once

#include <QList>
#include <QObject>
#include <string_view>

class QAction;
class QMenu;
class QToolButton;
class QWidget;

namespace morvane::app {

class WindowBatches;
class WindowItems;

// How one window reads folders, as checkable commands named after the
// model's scan choices ("includeSubfolders", "listFiles", "listFolders",
// "listHidden", "followSymlinks"): a section of the View menu, and the
// toolbar's "Scan Options" button with the same commands. Each choice reads
// the folder again at once; while a batch runs they are disabled.
class ScanCommands : public QObject {
    Q_OBJECT

public:
    ScanCommands(WindowItems& items, const WindowBatches& batches, QWidget* window);

    // The command with this name; null for no such command.
    QAction* action(std::string_view name) const;
    const QList<QAction*>& actions() const { return actions_; }
    QToolButton* button() const { return button_; }
    // Appends the commands to `menu` after a separator.
    void addToMenu(QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    WindowItems& items_;
    const WindowBatches& batches_;
    QWidget* window_;
    QList<QAction*> actions_;
    QMenu* menu_;
    QToolButton* button_;
};

} // namespace morvane::app
