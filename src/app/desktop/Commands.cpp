#include "app/desktop/Commands.h"

#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <iterator>

namespace morvane::app {

Commands::Commands(AppSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings), newWindow_(make(QKeySequence::New)),
      openFolder_(make(QKeySequence::Open)), rename_(make(Qt::CTRL | Qt::Key_R)),
      preview_(make(Qt::CTRL | Qt::SHIFT | Qt::Key_P)), undo_(make(Shortcuts::undo())),
      settingsAction_(make(Qt::CTRL | Qt::Key_Comma)), closeWindow_(make(QKeySequence::Close)),
      quit_(make(QKeySequence::Quit)), highlight_(make(Shortcuts::highlight())),
      onlyChanged_(make(Qt::CTRL | Qt::ALT | Qt::Key_C)), criteria_(make(Shortcuts::criteria())),
      updates_(make()), about_(make()) {
    settingsAction_->setMenuRole(QAction::PreferencesRole);
    quit_->setMenuRole(QAction::QuitRole);
    about_->setMenuRole(QAction::AboutRole);
    updates_->setMenuRole(QAction::ApplicationSpecificRole);
    highlight_->setCheckable(true);
    onlyChanged_->setCheckable(true);

    const auto withModel = [this](auto act) {
        return [this, act] {
            if (model_) {
                act(*model_);
            }
        };
    };
    connect(newWindow_, &QAction::triggered, this, &Commands::newWindowRequested);
    connect(openFolder_, &QAction::triggered, this,
            withModel([](AppModel& model) { model.chooseAndOpenFolder(); }));
    connect(rename_, &QAction::triggered, this, withModel([](AppModel& model) {
                if (model.canOpenConfirmation()) {
                    model.setShowConfirm(true);
                }
            }));
    connect(preview_, &QAction::triggered, this, withModel([](AppModel& model) {
                if (!model.busy()) {
                    model.setShowConfirm(true);
                }
            }));
    connect(undo_, &QAction::triggered, this, withModel([](AppModel& model) { model.undoLastRename(); }));
    connect(settingsAction_, &QAction::triggered, this, &Commands::settingsRequested);
    connect(closeWindow_, &QAction::triggered, this, [this] {
        if (frontmost_) {
            frontmost_->close();
        }
    });
    connect(quit_, &QAction::triggered, this, &Commands::quitRequested);
    connect(highlight_, &QAction::triggered, this, [this](bool on) { settings_.setHighlightChanges(on); });
    connect(onlyChanged_, &QAction::triggered, this, [this](bool on) {
        if (model_) {
            model_->setShowOnlyChanged(on);
        }
    });
    connect(criteria_, &QAction::triggered, this, withModel([](AppModel& model) { model.toggleCriteria(); }));
    connect(updates_, &QAction::triggered, this, &Commands::updatesRequested);
    connect(about_, &QAction::triggered, this, &Commands::aboutRequested);

    connect(&settings_, &AppSettings::highlightChangesChanged, this, &Commands::refresh);
    connect(&settings_, &AppSettings::languageChanged, this, &Commands::retranslate);
    retranslate();
}

Commands::~Commands() = default;

QWidget* Commands::frontmost() const {
    return frontmost_;
}

QAction* Commands::make(const QKeySequence& shortcut) {
    auto* action = new QAction(this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void Commands::fillMenuBar(QMenuBar* bar) {
    QMenu* file = bar->addMenu(QString());
    file->setObjectName("fileMenu");
    file->addActions({newWindow_, openFolder_});
    file->addSeparator();
    file->addActions({rename_, preview_});
    file->addSeparator();
    file->addAction(settingsAction_);
    file->addSeparator();
    file->addActions({closeWindow_, quit_});

    QMenu* edit = bar->addMenu(QString());
    edit->setObjectName("editMenu");
    edit->addAction(undo_);

    QMenu* view = bar->addMenu(QString());
    view->setObjectName("viewMenu");
    view->addActions({highlight_, onlyChanged_});
    view->addSeparator();
    view->addAction(criteria_);

    // Each window fills this one from its own model.
    QMenu* presets = bar->addMenu(QString());
    presets->setObjectName("presetsMenu");

    QMenu* help = bar->addMenu(QString());
    help->setObjectName("helpMenu");
    help->addAction(updates_);
    help->addSeparator();
    help->addAction(about_);

    for (QMenu* menu : {file, edit, view, presets, help}) {
        menus_.append(menu);
    }
    retranslate();
}

void Commands::setFrontmost(QWidget* window, AppModel* model) {
    if (window == frontmost_ && model == model_ && window != nullptr) {
        return;
    }
    for (const auto& connection : frontmostConnections_) {
        disconnect(connection);
    }
    frontmostConnections_.clear();
    frontmost_ = window;
    model_ = model;
    if (model != nullptr) {
        for (auto signal :
             {&AppModel::planChanged, &AppModel::criteriaChanged, &AppModel::showOnlyChangedChanged,
              &AppModel::busyChanged, &AppModel::canUndoChanged}) {
            frontmostConnections_.append(connect(model, signal, this, &Commands::refresh));
        }
    }
    refresh();
}

void Commands::refresh() {
    AppModel* model = model_;
    for (QAction* action : {closeWindow_, onlyChanged_, criteria_}) {
        action->setEnabled(model != nullptr);
    }
    // A running batch refuses anything else until it ends.
    const bool idle = model != nullptr && !model->busy();
    openFolder_->setEnabled(idle);
    preview_->setEnabled(idle);
    rename_->setEnabled(idle && model->canOpenConfirmation());
    // Undo takes back the window's last rename (a rule changed since withdraws
    // it), or in a new window the history's newest batch.
    undo_->setEnabled(idle && model->canUndo());
    highlight_->setChecked(settings_.highlightChanges());
    onlyChanged_->setChecked(model != nullptr && model->showOnlyChanged());
    criteria_->setText(
        toQString(model ? model->criteriaCommandTitle() : Localizer::text("Hide Renaming Criteria")));
}

void Commands::retranslate() {
    newWindow_->setText(ui("New Window"));
    openFolder_->setText(ui("Open Folder\u2026"));
    rename_->setText(ui("Rename\u2026"));
    preview_->setText(ui("Preview\u2026"));
    undo_->setText(ui("Undo Rename"));
    settingsAction_->setText(ui("Settings\u2026"));
    closeWindow_->setText(ui("Close Window"));
    quit_->setText(ui("Quit Morvane"));
    highlight_->setText(ui("Highlight Filename Changes"));
    onlyChanged_->setText(ui("Show Only Changed Items"));
    updates_->setText(ui("Check for Updates\u2026"));
    about_->setText(ui("About Morvane"));
    const char* titles[] = {"&File", "&Edit", "&View", "&Presets", "&Help"};
    std::size_t index = 0;
    for (const QPointer<QMenu>& menu : menus_) {
        if (menu) {
            menu->setTitle(ui(titles[index % std::size(titles)]));
        }
        ++index;
    }
    refresh();
}

} // namespace morvane::app
