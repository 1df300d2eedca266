#include "app/desktop/MainWindow.h"

#include "app/desktop/Commands.h"
#include "app/desktop/DropHighlight.h"
#include "app/desktop/EmptyStateView.h"
#include "app/desktop/FileDialogs.h"
#include "app/desktop/Icons.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemsNoticeBar.h"
#include "app/desktop/ListEditorSheet.h"
#include "app/desktop/LoadNoticeBar.h"
#include "app/desktop/PresetCommands.h"
#include "app/desktop/PresetManagerSheet.h"
#include "app/desktop/PresetMessageBar.h"
#include "app/desktop/PresetSaveSheet.h"
#include "app/desktop/ReadingBar.h"
#include "app/desktop/RecoveryBar.h"
#include "app/desktop/RenameProgressView.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/ResultBannerView.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/ScanCommands.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/Sidebar.h"
#include "app/desktop/UiText.h"
#include "app/desktop/WelcomeSheet.h"
#include "app/desktop/WindowStatusBar.h"
#include "app/desktop/WindowToolbar.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace morvane::app {
namespace {

// The local paths of a drag, or none when anything in it is not a local file.
std::vector<std::string> droppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths.push_back(fromQString(QDir::cleanPath(url.toLocalFile())));
    }
    return paths;
}

} // namespace

MainWindow::MainWindow(const DesktopServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("mainWindow");
    setWindowIcon(Icons::application());
    setAcceptDrops(true);
    AppModel::Environment environment = services_.modelEnvironment;
    if (!environment.access) {
        environment.access =
            FolderAccess::local([this](bool includeSubfolders) -> std::optional<FolderChoice> {
                auto path = services_.dialogs->chooseFolder(this, includeSubfolders);
                return path ? std::optional(FolderChoice{std::move(*path), includeSubfolders}) : std::nullopt;
            });
    }
    model_ = new AppModel(std::move(environment), this);

    commands_ = new Commands(*model_, this);
    commands_->fillMenuBar(menuBar());
    presetCommands_ = new PresetCommands(*model_, menuBar()->findChild<QMenu*>("presetsMenu"), this);
    scanCommands_ = new ScanCommands(model_->items(), model_->batches(), this);
    scanCommands_->addToMenu(menuBar()->findChild<QMenu*>("viewMenu"));
    toolbar_ = new WindowToolbar(*model_, *commands_, this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    toolbar_->addBeforeFilter(scanCommands_->button());
    toolbar_->addBeforeFilter(presetCommands_->button());
    buildContent();
    bindSheets();

    WindowItems& items = model_->items();
    connect(&items, &WindowItems::itemsChanged, this, &MainWindow::showContent);
    connect(&items, &WindowItems::loadingChanged, this, &MainWindow::showContent);
    connect(&items, &WindowItems::titleChanged, this,
            [this] { setWindowTitle(toQString(model_->items().title())); });
    connect(model_, &AppModel::criteriaChanged, this, &MainWindow::showCriteria);
    connect(&model_->batches(), &WindowBatches::busyChanged, this, &MainWindow::showBusy);
    connect(model_, &AppModel::showSidebarChanged, this,
            [this] { sidebar_->setVisible(model_->showSidebar()); });
    connect(&model_->settings(), &AppSettings::welcomeRequestChanged, this,
            [this] { model_->setShowWelcome(true); });
    restoreLayout();
    showContent();
    showCriteria();
    retranslate();
    focusContent();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildContent() {
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("splitter");
    splitter_->setChildrenCollapsible(false);
    sidebar_ = new Sidebar(QDir::homePath());
    connect(sidebar_, &Sidebar::folderChosen, &model_->items(), &WindowItems::openFolder);

    auto* middle = new QWidget;
    auto* column = new QVBoxLayout(middle);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    banners_ = new QVBoxLayout;
    banners_->setContentsMargins(0, 0, 0, 0);
    banners_->setSpacing(0);
    banner_ = new ResultBannerView(model_->batches(), services_.fileManager);
    presetMessage_ = new PresetMessageBar(model_->presets());
    progress_ = new RenameProgressView(model_->batches(), RenameProgressView::Place::window);
    recovery_ = new RecoveryBar(model_->recovery(), model_->batches());
    itemsNotice_ = new ItemsNoticeBar(model_->items());
    reading_ = new ReadingBar(model_->items());
    loadNotice_ = new LoadNoticeBar(model_->items());
    for (QWidget* banner : std::initializer_list<QWidget*>{recovery_, progress_, reading_, loadNotice_,
                                                           banner_, presetMessage_, itemsNotice_}) {
        banners_->addWidget(banner);
    }
    column->addLayout(banners_);
    content_ = new QStackedWidget;
    table_ = new ItemTable(*model_);
    empty_ = new EmptyStateView(model_->items());
    content_->addWidget(table_);
    content_->addWidget(empty_);
    column->addWidget(content_, 1);

    rules_ = new RulePanel(*model_);
    splitter_->addWidget(sidebar_);
    splitter_->addWidget(middle);
    splitter_->addWidget(rules_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setStretchFactor(2, 0);
    // The figures, the legend and the Rename button run under the whole
    // window, so the legend keeps its room in every language.
    auto* window = new QWidget;
    auto* rows = new QVBoxLayout(window);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(splitter_, 1);
    status_ = new WindowStatusBar(*model_);
    rows->addWidget(status_);
    setCentralWidget(window);
    drop_ = new DropHighlight(this);
}

void MainWindow::bindSheets() {
    WindowRules& rules = model_->rules();
    WindowPresets& presets = model_->presets();
    WindowBatches& batches = model_->batches();
    listEditor_ =
        SheetBinding::bind(this, &rules, &WindowRules::listEditingRuleChanged,
                           {[&rules] { return rules.listEditingRule().has_value(); },
                            [&rules] { rules.setListEditingRule(std::nullopt); }},
                           [this, &rules](QWidget* window) -> QDialog* {
                               return new ListEditorSheet(rules, model_->preview(), *rules.listEditingRule(),
                                                          services_.clipboard, services_.dialogs, window);
                           });
    welcome_ = SheetBinding::bind(
        this, model_, &AppModel::showWelcomeChanged,
        {[this] { return model_->showWelcome(); }, [this] { model_->setShowWelcome(false); }},
        [this](QWidget* window) -> QDialog* { return new WelcomeSheet(model_->settings(), window); });
    rename_ = SheetBinding::bind(
        this, &batches, &WindowBatches::showConfirmChanged,
        {[&batches] { return batches.showConfirm(); }, [&batches] { batches.closeConfirmation(); }},
        [this](QWidget* window) -> QDialog* { return new RenameSheet(*model_, window); });
    presetManager_ = SheetBinding::bind(this, &presets, &WindowPresets::showPresetManagerChanged,
                                        {[&presets] { return presets.showPresetManager(); },
                                         [&presets] { presets.setShowPresetManager(false); }},
                                        [this, &presets](QWidget* window) -> QDialog* {
                                            return new PresetManagerSheet(presets, model_->batches(),
                                                                          services_.dialogs, window);
                                        });
    savePreset_ = SheetBinding::bind(
        this, &presets, &WindowPresets::showSavePresetChanged,
        {[&presets] { return presets.showSavePreset(); }, [&presets] { presets.setShowSavePreset(false); }},
        [&presets](QWidget* window) -> QDialog* { return new PresetSaveSheet(presets, window); });
}

void MainWindow::showContent() {
    const bool hasItems = !model_->items().list().empty();
    empty_->setBusy(!hasItems && model_->items().loading());
    QWidget* const page = hasItems ? static_cast<QWidget*>(table_) : empty_;
    if (page == content_->currentWidget()) {
        return;
    }
    // Taken before the switch hides the page that has it.
    const QWidget* focus = focusWidget();
    const bool focusInContent = focus == nullptr || content_->isAncestorOf(focus);
    content_->setCurrentWidget(page);
    if (focusInContent) {
        focusContent();
    }
}

void MainWindow::focusContent() {
    QWidget* target =
        content_->currentWidget() == table_ ? static_cast<QWidget*>(table_) : empty_->openButton();
    if (target->isEnabled()) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    makeRoomForTable();
}

// A narrower window takes its width from the table first (the splitter
// stretches the middle alone); the sidebar, then the rule panel, give it
// back down to their narrowest, so the names stay readable as long as they can.
void MainWindow::makeRoomForTable() {
    QList<int> sizes = splitter_->sizes();
    if (sizes.size() != 3) {
        return;
    }
    int missing = table_->sizeHint().width() - sizes[1];
    for (const int side : {0, 2}) {
        QWidget* pane = splitter_->widget(side);
        if (missing <= 0 || pane->isHidden()) {
            continue;
        }
        const int narrowest = std::max(pane->minimumWidth(), pane->minimumSizeHint().width());
        const int given = std::clamp(sizes[side] - narrowest, 0, missing);
        sizes[side] -= given;
        sizes[1] += given;
        missing -= given;
    }
    if (sizes != splitter_->sizes()) {
        splitter_->setSizes(sizes);
    }
}

void MainWindow::showCriteria() {
    rules_->setVisible(model_->criteria() == CriteriaMode::docked);
}

// Disabling the widget with the focus hands it to the next one (the filter,
// say, where Ctrl+Z would undo typing rather than the rename); it is taken
// back once the batch is over.
void MainWindow::showBusy() {
    const bool idle = !model_->batches().busy();
    if (!idle) {
        focusBeforeBusy_ = focusWidget();
    }
    for (QWidget* editing : std::initializer_list<QWidget*>{sidebar_, content_, rules_}) {
        editing->setEnabled(idle);
    }
    setAcceptDrops(idle);
    if (idle && focusBeforeBusy_) {
        if (focusBeforeBusy_->isEnabled() && focusBeforeBusy_->isVisibleTo(this)) {
            focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
        } else {
            focusContent();
        }
        focusBeforeBusy_ = nullptr;
    }
}

bool MainWindow::isDropHighlighted() const {
    return drop_->isVisible();
}

void MainWindow::retranslate() {
    setWindowTitle(toQString(model_->items().title()));
    splitter_->setAccessibleName(ui("Window"));
}

void MainWindow::restoreLayout() {
    AppSettings& settings = model_->settings();
    if (!restoreGeometry(settings.layout("window"))) {
        resize(1280, 760);
    }
    if (!splitter_->restoreState(settings.layout("splitter"))) {
        splitter_->setSizes({190, 750, 340});
    }
}

void MainWindow::saveLayout() {
    AppSettings& settings = model_->settings();
    settings.setLayout("window", saveGeometry());
    // A hidden rule panel would come back with no room; its last width stays.
    if (rules_->isVisible() && sidebar_->isVisible()) {
        settings.setLayout("splitter", splitter_->saveState());
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        emit activated(this);
    } else if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (model_->openSettingsAtLaunch() && !settingsOpened_) {
        settingsOpened_ = true;
        QTimer::singleShot(0, this, [this] {
            model_->setOpenSettingsAtLaunch(false);
            emit settingsRequested();
        });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveLayout();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedPaths(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    drop_->showOver(centralWidget());
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (droppedPaths(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent* event) {
    drop_->hide();
    QMainWindow::dragLeaveEvent(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    drop_->hide();
    const std::vector<std::string> paths = droppedPaths(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    model_->items().open(paths);
}

} // namespace morvane::app
