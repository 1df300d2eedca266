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
class RulePanel;
class Sidebar;
class WindowStatusBar;
class WindowToolbar;
class SheetBinding;

// One window over its own model: the sidebar, the toolbar with the filter,
// the item table (or the empty or busy state), the area for banners above
// the table, the status bar with the Rename button and the rule panel. Sheets
// open over it while their model fields say so. Files and folders dropped on
// it are opened.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `commands` fill the menu bar; `services` the model, the dialogs and the clipboard.
    MainWindow(const DesktopServices& services, Commands& commands, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppModel& model() const { return *model_; }
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
    void retranslate();
    void restoreLayout();
    void saveLayout();

    DesktopServices services_;
    AppModel* model_;
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
    bool settingsOpened_ = false;
};

} // namespace morvane::app
