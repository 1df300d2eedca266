#pragma once

#include "app/desktop/DesktopServices.h"

#include <QMainWindow>

class QSplitter;
class QStackedWidget;
class QVBoxLayout;

namespace morvane::app {

class AppModel;
class Commands;
class DropHighlight;
class EmptyStateView;
class ItemTable;
class PresetCommands;
class PresetMessageBar;
class RecoveryBar;
class RenameProgressView;
class ResultBannerView;
class RulePanel;
class Sidebar;
class WindowStatusBar;
class WindowToolbar;
class SheetBinding;

// One window over its own model: the sidebar, the toolbar with the filter,
// the item table (or the empty or busy state), the banners above the table
// (the offer to put back batches a crash cut short, the last rename's
// result, the last preset message, a running undo's progress), the status
// bar with the Rename button and the rule panel; its menu bar has the shared
// commands and its own Presets menu. Sheets open over it while their model
// fields say so. Files and folders dropped on it are opened. While a
// rename, an undo or a recovery runs, what would change the items or the
// rules is disabled. Its commands are its own named actions (`commands`).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `services`: the model's environment, the dialogs and the clipboard.
    explicit MainWindow(const DesktopServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppModel& model() const { return *model_; }
    Commands& commands() const { return *commands_; }
    Sidebar* sidebar() const { return sidebar_; }
    WindowToolbar* toolbar() const { return toolbar_; }
    ItemTable* table() const { return table_; }
    EmptyStateView* emptyState() const { return empty_; }
    RulePanel* rulePanel() const { return rules_; }
    WindowStatusBar* statusPanel() const { return status_; }
    QSplitter* splitter() const { return splitter_; }
    // Banners about the last rename go here, above the table.
    QVBoxLayout* bannerArea() const { return banners_; }
    bool isDropHighlighted() const;
    SheetBinding* listEditorBinding() const { return listEditor_; }
    SheetBinding* welcomeBinding() const { return welcome_; }
    SheetBinding* renameBinding() const { return rename_; }
    SheetBinding* presetManagerBinding() const { return presetManager_; }
    SheetBinding* savePresetBinding() const { return savePreset_; }
    ResultBannerView* resultBanner() const { return banner_; }
    PresetMessageBar* presetMessageBar() const { return presetMessage_; }
    RecoveryBar* recoveryBar() const { return recovery_; }
    RenameProgressView* progressView() const { return progress_; }
    PresetCommands* presetCommands() const { return presetCommands_; }

signals:
    void activated(MainWindow* window);
    // The model asked for the settings once the window is up (a launch option).
    void settingsRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildContent();
    void bindSheets();
    void showContent();
    void showCriteria();
    void showBusy();
    void retranslate();
    void restoreLayout();
    void saveLayout();

    DesktopServices services_;
    AppModel* model_;
    Commands* commands_ = nullptr;
    Sidebar* sidebar_ = nullptr;
    WindowToolbar* toolbar_ = nullptr;
    ItemTable* table_ = nullptr;
    EmptyStateView* empty_ = nullptr;
    QStackedWidget* content_ = nullptr;
    RulePanel* rules_ = nullptr;
    WindowStatusBar* status_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QVBoxLayout* banners_ = nullptr;
    DropHighlight* drop_ = nullptr;
    SheetBinding* listEditor_ = nullptr;
    SheetBinding* welcome_ = nullptr;
    SheetBinding* rename_ = nullptr;
    SheetBinding* presetManager_ = nullptr;
    SheetBinding* savePreset_ = nullptr;
    ResultBannerView* banner_ = nullptr;
    PresetMessageBar* presetMessage_ = nullptr;
    RecoveryBar* recovery_ = nullptr;
    RenameProgressView* progress_ = nullptr;
    PresetCommands* presetCommands_ = nullptr;
    bool settingsOpened_ = false;
};

} // namespace morvane::app
