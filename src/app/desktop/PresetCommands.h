#pragma once

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>

class QAction;
class QPushButton;

namespace morvane::app {

class AppModel;

// The Presets menu of one window, over that window's own model, in its menu
// bar and behind a toolbar button that names the preset in use ("Preset
// Clean filenames", "Preset  Custom rules"): the favourites first with
// Ctrl+Alt+1 to 9 (⌃⌘ on a Mac), then the other presets, the one in use
// marked; choosing one applies it. "Save Current Rules as Preset…" and
// "Manage Presets…" open their sheets. The shortcuts belong to the window,
// so they act on the window in front.
class PresetCommands : public QObject {
    Q_OBJECT

public:
    PresetCommands(AppModel& model, QMenu* menu, QObject* parent = nullptr);

    QMenu* menu() const { return menu_; }
    QPushButton* button() const { return button_; }
    // The presets offered, favourites first, in menu order.
    const QList<QAction*>& presetActions() const { return presets_; }
    QAction* saveAction() const { return save_; }
    QAction* manageAction() const { return manage_; }

protected:
    // The menu tells of a new interface language.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();

    AppModel& model_;
    QPointer<QMenu> menu_;
    QPushButton* button_;
    QList<QAction*> presets_;
    QAction* save_ = nullptr;
    QAction* manage_ = nullptr;
};

} // namespace morvane::app
