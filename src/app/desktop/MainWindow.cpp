#include "app/desktop/MainWindow.h"

#include "app/desktop/Commands.h"
#include "app/desktop/DropHighlight.h"
#include "app/desktop/EmptyStateView.h"
#include "app/desktop/FileDialogs.h"
#include "app/desktop/Icons.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ListEditorSheet.h"
#include "app/desktop/PresetCommands.h"
#include "app/desktop/PresetManagerSheet.h"
#include "app/desktop/PresetMessageBar.h"
#include "app/desktop/PresetSaveSheet.h"
#include "app/desktop/RecoveryBar.h"
#include "app/desktop/RenameProgressView.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/ResultBannerView.h"
#include "app/desktop/RulePanel.h"
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

MainWindow::MainWindow(const DesktopServices& services, Commands& commands, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("mainWindow");
    setWindowIcon(Icons::application());
    setAcceptDrops(true);
    AppModel::Environment environment = services_.modelEnvironment;
    if (!environment.access) {
        environment.access = FolderAccess::local([this] { return services_.dialogs->chooseFolder(this); });
    }
    model_ = new AppModel(std::move(environment), this);

    commands.fillMenuBar(menuBar());
    presetCommands_ = new PresetCommands(*model_, menuBar()->findChild<QMenu*>("presetsMenu"), this);
    toolbar_ = new WindowToolbar(*model_, this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    toolbar_->addBeforeFilter(presetCommands_->button());
    buildContent();
    bindSheets();

    connect(model_, &AppModel::itemsChanged, this, &MainWindow::showContent);
    connect(model_, &AppModel::loadingChanged, this, &MainWindow::showContent);
    connect(model_, &AppModel::criteriaChanged, this, &MainWindow::showCriteria);
    connect(model_, &AppModel::busyChanged, this, &MainWindow::showBusy);
    connect(model_, &AppModel::showSidebarChanged, this,
            [this] { sidebar_->setVisible(model_->showSidebar()); });
    connect(model_, &AppModel::titleChanged, this, [this] { setWindowTitle(toQString(model_->title())); });
    connect(&model_->settings(), &AppSettings::welcomeRequestChanged, this,
            [this] { model_->setShowWelcome(true); });
    connect(&model_->settings(), &AppSettings::languageChanged, this, &MainWindow::retranslate);
    restoreLayout();
    showContent();
    showCriteria();
    retranslate();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildContent() {
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("splitter");
    splitter_->setChildrenCollapsible(false);
    sidebar_ = new Sidebar(QDir::homePath());
    connect(sidebar_, &Sidebar::folderChosen, model_, &AppModel::openFolder);

    auto* middle = new QWidget;
    auto* column = new QVBoxLayout(middle);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    banners_ = new QVBoxLayout;
    banners_->setContentsMargins(0, 0, 0, 0);
    banners_->setSpacing(0);
    banner_ = new ResultBannerView(*model_, services_.fileManager);
    presetMessage_ = new PresetMessageBar(*model_);
    progress_ = new RenameProgressView(*model_, RenameProgressView::Place::window);
    recovery_ = new RecoveryBar(*model_);
    for (QWidget* banner : std::initializer_list<QWidget*>{recovery_, progress_, banner_, presetMessage_}) {
        banners_->addWidget(banner);
    }
    column->addLayout(banners_);
    content_ = new QStackedWidget;
    table_ = new ItemTable(*model_);
    empty_ = new EmptyStateView(*model_);
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
    listEditor_ =
        SheetBinding::bind(this, model_, &AppModel::listEditingRuleChanged,
                           {[this] { return model_->listEditingRule().has_value(); },
                            [this] { model_->setListEditingRule(std::nullopt); }},
                           [this](QWidget* window) -> QDialog* {
                               return new ListEditorSheet(*model_, *model_->listEditingRule(),
                                                          services_.clipboard, services_.dialogs, window);
                           });
    welcome_ = SheetBinding::bind(
        this, model_, &AppModel::showWelcomeChanged,
        {[this] { return model_->showWelcome(); }, [this] { model_->setShowWelcome(false); }},
        [this](QWidget* window) -> QDialog* { return new WelcomeSheet(*model_, window); });
    rename_ = SheetBinding::bind(
        this, model_, &AppModel::showConfirmChanged,
        {[this] { return model_->showConfirm(); }, [this] { model_->setShowConfirm(false); }},
        [this](QWidget* window) -> QDialog* { return new RenameSheet(*model_, window); });
    presetManager_ = SheetBinding::bind(
        this, model_, &AppModel::showPresetManagerChanged,
        {[this] { return model_->showPresetManager(); }, [this] { model_->setShowPresetManager(false); }},
        [this](QWidget* window) -> QDialog* {
            return new PresetManagerSheet(*model_, services_.dialogs, window);
        });
    savePreset_ = SheetBinding::bind(
        this, model_, &AppModel::showSavePresetChanged,
        {[this] { return model_->showSavePreset(); }, [this] { model_->setShowSavePreset(false); }},
        [this](QWidget* window) -> QDialog* { return new PresetSaveSheet(*model_, window); });
}

void MainWindow::showContent() {
    const bool hasItems = !model_->items().empty();
    empty_->setBusy(!hasItems && model_->loading());
    content_->setCurrentWidget(hasItems ? static_cast<QWidget*>(table_) : empty_);
}

void MainWindow::showCriteria() {
    rules_->setVisible(model_->criteria() == CriteriaMode::docked);
}

void MainWindow::showBusy() {
    const bool idle = !model_->busy();
    for (QWidget* editing : std::initializer_list<QWidget*>{sidebar_, content_, rules_}) {
        editing->setEnabled(idle);
    }
    setAcceptDrops(idle);
}

bool MainWindow::isDropHighlighted() const {
    return drop_->isVisible();
}

void MainWindow::retranslate() {
    setWindowTitle(toQString(model_->title()));
    toolbar_->retranslate();
    table_->retranslate();
    empty_->retranslate();
    status_->retranslate();
    rules_->retranslate();
    sidebar_->retranslate();
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
    model_->open(paths);
}

} // namespace morvane::app
