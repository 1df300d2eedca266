#include "app/model/AppModel.h"

#include "app/model/AppSettings.h"
#include "app/model/LastRules.h"
#include "app/model/LaunchOptions.h"
#include "app/model/Localizer.h"
#include "app/model/QtStrings.h"
#include "engine/support/Paths.h"

#include <QDir>
#include <QTimer>
#include <filesystem>

namespace morvane::app {
namespace {

// The file type of presets, by its name as file managers tell it.
bool isPresetFile(const std::string& path) {
    return QString::fromStdString(path).endsWith(".morvanepreset", Qt::CaseInsensitive);
}

std::string absolute(const std::string& path) {
    std::error_code error;
    const auto made = std::filesystem::absolute(path, error);
    return Paths::normalized(error ? path : made.lexically_normal().string());
}

std::string homeOf(const AppModelEnvironment& environment) {
    return environment.homeFolder.value_or(fromQString(QDir::homePath()));
}

// Long enough for a burst of keystrokes to be written once, short enough
// that a crash takes little with it.
constexpr int storeRulesDelayMs = 300;

} // namespace

AppModel::AppModel(Environment environment, QObject* parent)
    : QObject(parent), settings_(environment.settings ? environment.settings : &AppSettings::shared()),
      items_(environment.access ? environment.access : FolderAccess::local(), homeOf(environment), gate_),
      preview_(std::move(environment.planner), std::move(environment.metadataReader),
               [this] { return previewInput(); }),
      rules_(items_, preview_, *settings_, gate_),
      batches_(items_, preview_, std::move(environment.historyDirectory), gate_,
               std::move(environment.returnFreedMemory)),
      recovery_(batches_, items_, homeOf(environment)),
      presets_(rules_, std::move(environment.presetDirectory), gate_) {
    // Wired before any view connects, so that a view told of a change finds
    // its follow-up done.
    for (auto changed : {&WindowItems::itemsChanged, &WindowItems::uncheckedChanged,
                         &WindowItems::searchTextChanged, &WindowItems::sortChanged}) {
        connect(&items_, changed, &preview_, &WindowPreview::scheduleReplan);
    }
    connect(&items_, &WindowItems::selectionChanged, this, [this] { preview_.select(items_.selectedID()); });
    // The list no longer is the preset it came from (unless one is being
    // applied), the last rename's undo and message are withdrawn, and the
    // preview is planned anew.
    connect(&rules_, &WindowRules::rulesChanged, this, [this] {
        presets_.rulesEdited();
        batches_.withdrawLastRename();
        preview_.scheduleReplan();
    });
    // Edited names change the preview only: the rules are as they were.
    connect(&rules_, &WindowRules::editedNamesChanged, &preview_, &WindowPreview::scheduleReplan);
    // They belong to the items they were written for.
    connect(&items_, &WindowItems::sourceOpened, &rules_, &WindowRules::dropEditedNames);
    connect(&items_, &WindowItems::batchFollowed, &rules_, &WindowRules::dropEditedNames);
    // Rule summaries, kind titles and messages are in the interface language.
    connect(settings_, &AppSettings::languageDidChange, &preview_, &WindowPreview::scheduleReplan);

    // A new window reads folders as the last choices made in any window;
    // from then on its choices are its own, and the next windows'.
    items_.setScanOptions(settings_->scanOptions());
    connect(&items_, &WindowItems::scanOptionsChanged, this,
            [this] { settings_->setScanOptions(items_.scanOptions()); });

    if (environment.restoreLastRules && settings_->startWithLastRules()) {
        restoreLastRules();
    }
    storeRulesSoon_.setSingleShot(true);
    storeRulesSoon_.setInterval(storeRulesDelayMs);
    connect(&storeRulesSoon_, &QTimer::timeout, this, &AppModel::storeRules);
    connect(&rules_, &WindowRules::rulesChanged, &storeRulesSoon_, qOverload<>(&QTimer::start));

    if (const auto arguments = LaunchOptions::takeForFirstModel()) {
        const LaunchOptions options = LaunchOptions::parse(*arguments);
        showWelcome_ = !settings_->welcomeSeen() && !options.opensSomething();
        applyLaunchOptions(options);
    }
}

// The window goes: its rules are the last ones now.
AppModel::~AppModel() {
    storeRules();
}

void AppModel::storeRules() {
    storeRulesSoon_.stop();
    settings_->setLastRules(LastRules::encode(rules_.entries()));
}

// A list that cannot be read back is dropped, and the window starts as a
// new one does.
void AppModel::restoreLastRules() {
    const auto stored = settings_->lastRules();
    if (!stored) {
        return;
    }
    const auto restored = LastRules::decode(*stored);
    if (!restored) {
        settings_->setLastRules(std::nullopt);
        presets_.setPresetMessage(Localizer::text(
            "The last rules could not be read back, so the window starts with the default rule."));
        return;
    }
    rules_.setRules(restored->entries);
    if (restored->skipped > 0) {
        presets_.setPresetMessage(Localizer::counted(
            "%lld of the last rules needs a newer version and was skipped.",
            "%lld of the last rules need a newer version and were skipped.", restored->skipped));
    }
}

// What a preview computation reads: snapshots, which cost nothing per item.
PreviewInput AppModel::previewInput() const {
    PreviewInput input;
    input.items = items_.snapshot();
    input.itemsVersion = items_.version();
    input.order = items_.order();
    input.unchecked = items_.uncheckedSnapshot();
    input.uncheckedVersion = items_.uncheckedVersion();
    input.searchText = items_.searchText();
    input.pipeline = rules_.pipeline();
    input.ruleIds = rules_.ids();
    input.selectedID = items_.selectedID();
    if (items_.looseFiles()) {
        input.looseFilesDisk = items_.access().fileSystem();
    } else {
        input.root = items_.folder();
    }
    return input;
}

void AppModel::applyLaunchOptions(const LaunchOptions& options) {
    if (options.open) {
        items_.openFolder(absolute(*options.open));
    }
    // What a file manager hands over: preset files are imported, and the
    // other files and folders opened as if dropped on the window.
    std::vector<std::string> presetFiles, paths;
    for (const std::string& path : options.paths) {
        (isPresetFile(path) ? presetFiles : paths).push_back(absolute(path));
    }
    if (!paths.empty()) {
        items_.open(paths);
    }
    if (!presetFiles.empty()) {
        presets_.importPresets(presetFiles);
        QTimer::singleShot(0, this, [this] { presets_.setShowPresetManager(true); });
    }
    if (options.appearance) {
        settings_->overrideAppearance(*options.appearance);
    }
    if (options.language) {
        if (const auto language = AppLanguage::named(*options.language)) {
            settings_->overrideLanguage(*language);
        }
    }
    if (options.settings) {
        setOpenSettingsAtLaunch(true);
    }
    if (options.list) {
        const RuleEntry entry = RuleEntry::make(ReplaceRule(
            {{"IMG_", "santa-cruz-", true}, {"copy", "", true}, {"final", "v2", true}, {"zzz", "x", false}},
            false));
        rules_.setRules({entry});
        // Once the window is up, so the pair-list editor opens over it.
        QTimer::singleShot(0, this, [this, id = entry.id] { rules_.setListEditingRule(id); });
    }
    if (options.welcome) {
        setShowWelcome(true);
    }
    if (options.presets) {
        QTimer::singleShot(0, this, [this] { presets_.setShowPresetManager(true); });
    }
    if (options.sheet) {
        QTimer::singleShot(0, this, [this] { batches_.openConfirmationOnceReady(); });
    }
    if (options.demo) {
        DateRule date;
        date.format = "yyyy-MM-dd";
        date.separator = "_";
        rules_.setRules({RuleEntry::make(date), RuleList::initial().entries().front(),
                         RuleEntry::make(RuleEntry::defaultRule(RuleKind::letterCase), true, false),
                         RuleEntry::make(RuleEntry::defaultRule(RuleKind::counter), false, false)});
    }
}

RowStatus AppModel::status(const RenamePlan::Entry& entry) const {
    return items_.status(entry, preview_.notesOf(entry));
}

void AppModel::skipConflicting() {
    items_.uncheck(preview_.conflictIDs());
}

void AppModel::setOpenSettingsAtLaunch(bool on) {
    if (on != openSettingsAtLaunch_) {
        openSettingsAtLaunch_ = on;
        emit openSettingsAtLaunchChanged();
    }
}

void AppModel::setShowWelcome(bool on) {
    if (on != showWelcome_) {
        showWelcome_ = on;
        emit showWelcomeChanged();
    }
}

void AppModel::toggleCriteria() {
    criteria_ = criteria_ == CriteriaMode::docked ? CriteriaMode::hidden : CriteriaMode::docked;
    emit criteriaChanged();
}

std::string AppModel::criteriaCommandTitle() const {
    return Localizer::text(criteria_ == CriteriaMode::docked ? "Hide Renaming Criteria"
                                                             : "Show Renaming Criteria");
}

void AppModel::setShowSidebar(bool on) {
    if (on != showSidebar_) {
        showSidebar_ = on;
        emit showSidebarChanged();
    }
}

} // namespace morvane::app
