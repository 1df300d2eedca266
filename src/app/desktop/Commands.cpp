#include "app/desktop/Commands.h"

#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <utility>

namespace morvane::app {
namespace {

// The menus, by name, with their commands in order; "" is a separator. The
// Presets menu is the window's to fill.
struct MenuLayout {
    const char* name;
    const char* title;
    std::initializer_list<const char*> commands;
};

const MenuLayout menuLayout[] = {
    {"fileMenu",
     "&File",
     {"newWindow", "openFolder", "", "rename", "preview", "", "settings", "", "closeWindow", "quit"}},
    {"editMenu", "&Edit", {"undoRename"}},
    {"viewMenu", "&View", {"highlightChanges", "showOnlyChanged", "", "toggleCriteria"}},
    {"presetsMenu", "&Presets", {}},
    {"helpMenu", "&Help", {"checkForUpdates", "", "about"}},
};

// The fixed titles of the commands; the criteria command's says what it will do.
const std::pair<const char*, const char*> titles[] = {
    {"newWindow", "New Window"},
    {"openFolder", "Open Folder\u2026"},
    {"rename", "Rename\u2026"},
    {"preview", "Preview\u2026"},
    {"undoRename", "Undo Rename"},
    {"settings", "Settings\u2026"},
    {"closeWindow", "Close Window"},
    {"quit", "Quit Morvane"},
    {"highlightChanges", "Highlight Filename Changes"},
    {"showOnlyChanged", "Show Only Changed Items"},
    {"checkForUpdates", "Check for Updates\u2026"},
    {"about", "About Morvane"},
};

} // namespace

Commands::Commands(AppModel& model, QWidget* window) : QObject(window), model_(model), window_(window) {
    AppSettings& settings = model_.settings();
    WindowBatches& batches = model_.batches();
    connect(add("newWindow", QKeySequence::New), &QAction::triggered, this, &Commands::newWindowRequested);
    connect(add("openFolder", QKeySequence::Open), &QAction::triggered, this,
            [this] { model_.items().chooseAndOpenFolder(); });
    connect(add("rename", Qt::CTRL | Qt::Key_R), &QAction::triggered, this,
            [&batches] { batches.openConfirmation(ConfirmationCommand::rename); });
    connect(add("preview", Qt::CTRL | Qt::SHIFT | Qt::Key_P), &QAction::triggered, this,
            [&batches] { batches.openConfirmation(ConfirmationCommand::preview); });
    connect(add("undoRename", Shortcuts::undo()), &QAction::triggered, &batches,
            &WindowBatches::undoLastRename);
    QAction* settingsAction = add("settings", Qt::CTRL | Qt::Key_Comma);
    settingsAction->setMenuRole(QAction::PreferencesRole);
    connect(settingsAction, &QAction::triggered, this, &Commands::settingsRequested);
    connect(add("closeWindow", QKeySequence::Close), &QAction::triggered, window_, &QWidget::close);
    QAction* quit = add("quit", QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &Commands::quitRequested);
    QAction* highlight = add("highlightChanges", Shortcuts::highlight());
    highlight->setCheckable(true);
    connect(highlight, &QAction::triggered, &settings, &AppSettings::setHighlightChanges);
    QAction* onlyChanged = add("showOnlyChanged", Qt::CTRL | Qt::ALT | Qt::Key_C);
    onlyChanged->setCheckable(true);
    connect(onlyChanged, &QAction::triggered, &model_.preview(), &WindowPreview::setShowOnlyChanged);
    connect(add("toggleCriteria", Shortcuts::criteria()), &QAction::triggered, &model_,
            &AppModel::toggleCriteria);
    QAction* updates = add("checkForUpdates");
    updates->setMenuRole(QAction::ApplicationSpecificRole);
    connect(updates, &QAction::triggered, this, &Commands::updatesRequested);
    QAction* about = add("about");
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &Commands::aboutRequested);

    connect(&settings, &AppSettings::highlightChangesChanged, this, &Commands::refresh);
    connect(&model_.preview(), &WindowPreview::planChanged, this, &Commands::refresh);
    connect(&model_.preview(), &WindowPreview::showOnlyChangedChanged, this, &Commands::refresh);
    connect(&model_, &AppModel::criteriaChanged, this, &Commands::refresh);
    connect(&batches, &WindowBatches::busyChanged, this, &Commands::refresh);
    connect(&batches, &WindowBatches::canUndoChanged, this, &Commands::refresh);
    window_->installEventFilter(this);
    retranslate();
}

QAction* Commands::add(const char* name, const QKeySequence& shortcut) {
    auto* action = new QAction(window_);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QAction* Commands::action(std::string_view name) const {
    return window_->findChild<QAction*>(QString::fromUtf8(name.data(), qsizetype(name.size())),
                                        Qt::FindDirectChildrenOnly);
}

void Commands::fillMenuBar(QMenuBar* bar) {
    bar_ = bar;
    for (const MenuLayout& layout : menuLayout) {
        QMenu* menu = bar->addMenu(QString());
        menu->setObjectName(layout.name);
        for (const char* name : layout.commands) {
            if (*name == '\0') {
                menu->addSeparator();
            } else {
                menu->addAction(action(name));
            }
        }
    }
    retranslate();
}

void Commands::refresh() {
    WindowBatches& batches = model_.batches();
    // A running batch refuses anything else until it ends.
    const bool idle = !batches.busy();
    action("openFolder")->setEnabled(idle);
    action("preview")->setEnabled(batches.canOpenConfirmation(ConfirmationCommand::preview));
    action("rename")->setEnabled(batches.canOpenConfirmation(ConfirmationCommand::rename));
    // Undo takes back the window's last rename (a rule changed since withdraws
    // it), or in a new window the history's newest batch.
    action("undoRename")->setEnabled(idle && batches.canUndo());
    action("highlightChanges")->setChecked(model_.settings().highlightChanges());
    action("showOnlyChanged")->setChecked(model_.preview().showOnlyChanged());
    action("toggleCriteria")->setText(toQString(model_.criteriaCommandTitle()));
}

void Commands::retranslate() {
    for (const auto& [name, title] : titles) {
        action(name)->setText(ui(title));
    }
    if (bar_ != nullptr) {
        for (const MenuLayout& layout : menuLayout) {
            if (auto* menu = bar_->findChild<QMenu*>(layout.name)) {
                menu->setTitle(ui(layout.title));
            }
        }
    }
    refresh();
}

// The window tells of a new interface language; its actions are no widgets to be told.
bool Commands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace morvane::app
