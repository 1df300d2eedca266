#include "app/model/AppModel.h"

#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"
#include "app/model/Localizer.h"
#include "app/model/QtStrings.h"
#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/FolderScanner.h"
#include "engine/metadata/LibraryMetadataReader.h"
#include "engine/metadata/MetadataCache.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/Paths.h"
#include "engine/transactions/HistoryStore.h"

#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <filesystem>
#include <utility>

namespace morvane::app {

// A finished load: the items, or the reason there are none, and the
// selection worked out over them in the background.
struct AppModel::Loaded {
    std::shared_ptr<const ItemList> items = std::make_shared<const ItemList>();
    std::optional<std::string> error;
    ItemOrder order; // the order the selection was made in
    std::optional<std::string> selectedBefore;
    std::optional<std::string> selection;
};

namespace {

// The selected item when it is still there, else the first in `order`.
std::optional<std::string> selectionAfterLoad(const ItemList& items, const ItemOrder& order,
                                              const std::optional<std::string>& selected) {
    if (selected &&
        std::any_of(items.begin(), items.end(), [&](const FileItem& item) { return item.id == *selected; })) {
        return selected;
    }
    const auto first =
        std::min_element(items.begin(), items.end(),
                         [&](const FileItem& a, const FileItem& b) { return order.areInOrder(a, b); });
    return first == items.end() ? std::nullopt : std::optional(first->id);
}

// The file type of presets, by its name as file managers tell it.
bool isPresetFile(const std::string& path) {
    return QString::fromStdString(path).endsWith(".morvanepreset", Qt::CaseInsensitive);
}

std::string absolute(const std::string& path) {
    std::error_code error;
    const auto made = std::filesystem::absolute(path, error);
    return Paths::normalized(error ? path : made.lexically_normal().string());
}

} // namespace

AppModel::AppModel(Environment environment, QObject* parent)
    : QObject(parent), settings_(environment.settings ? environment.settings : &AppSettings::shared()),
      access_(environment.access ? environment.access : FolderAccess::local()),
      planner_(environment.planner ? environment.planner : pipelinePlanner()),
      homeFolder_(environment.homeFolder.value_or(fromQString(QDir::homePath()))),
      items_(std::make_shared<const ItemList>()), unchecked_(std::make_shared<const IdSet>()),
      rules_(RuleList::initial()), presetDirectory_(std::move(environment.presetDirectory)),
      historyDirectory_(std::move(environment.historyDirectory)),
      metadata_(std::make_shared<MetadataCache>(environment.metadataReader
                                                    ? std::move(environment.metadataReader)
                                                    : std::make_shared<const LibraryMetadataReader>())),
      preview_(std::make_shared<const Preview>()) {
    debounce_.setSingleShot(true);
    debounce_.setInterval(30);
    debounce_.setTimerType(Qt::PreciseTimer);
    connect(&debounce_, &QTimer::timeout, this, &AppModel::startPreview);
    progressTimer_.setTimerType(Qt::PreciseTimer);
    connect(&progressTimer_, &QTimer::timeout, this, &AppModel::publishProgress);

    // The values of the sheets and the banner, each announced once for all it depends on.
    for (auto changed : {&AppModel::planChanged, &AppModel::titleChanged, &AppModel::busyChanged}) {
        connect(this, changed, this, &AppModel::confirmationChanged);
    }
    for (auto changed :
         {&AppModel::lastTransactionChanged, &AppModel::actionMessageChanged, &AppModel::folderChanged}) {
        connect(this, changed, this, &AppModel::bannerChanged);
    }
    for (auto changed : {&AppModel::userPresetsChanged, &AppModel::currentPresetChanged}) {
        connect(this, changed, this, &AppModel::presetsChanged);
    }
    connect(this, &AppModel::planChanged, this, &AppModel::closeSheetWhenNothingIsLeft);
    connect(this, &AppModel::lastTransactionChanged, this, &AppModel::canUndoChanged);

    reloadUserPresets();
    lookForUndoableBatch();
    // Rule summaries, kind titles and messages are in the interface language.
    connect(settings_, &AppSettings::languageDidChange, this, &AppModel::scheduleReplan);

    if (const auto arguments = LaunchOptions::takeForFirstModel()) {
        const LaunchOptions options = LaunchOptions::parse(*arguments);
        showWelcome_ = !settings_->welcomeSeen() && !options.opensSomething();
        applyLaunchOptions(options);
    }
    lookForUnfinishedBatches();
}

AppModel::~AppModel() {
    runningPreview_.request_stop();
    releaseRecoveryClaim();
}

void AppModel::applyLaunchOptions(const LaunchOptions& options) {
    if (options.open) {
        openFolder(absolute(*options.open));
    }
    // What a file manager hands over: preset files are imported, and the
    // other files and folders opened as if dropped on the window.
    std::vector<std::string> presetFiles, items;
    for (const std::string& path : options.paths) {
        (isPresetFile(path) ? presetFiles : items).push_back(absolute(path));
    }
    if (!items.empty()) {
        open(items);
    }
    if (!presetFiles.empty()) {
        importPresets(presetFiles);
        QTimer::singleShot(0, this, [this] { setShowPresetManager(true); });
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
        setRules({entry});
        // Once the window is up, so the pair-list editor opens over it.
        QTimer::singleShot(0, this, [this, id = entry.id] { setListEditingRule(id); });
    }
    if (options.welcome) {
        setShowWelcome(true);
    }
    if (options.presets) {
        QTimer::singleShot(0, this, [this] { setShowPresetManager(true); });
    }
    if (options.sheet) {
        QTimer::singleShot(0, this, [this] { setShowConfirm(true); });
    }
    if (options.demo) {
        DateRule date;
        date.format = "yyyy-MM-dd";
        date.separator = "_";
        setRules({RuleEntry::make(date), RuleList::initial().entries().front(),
                  RuleEntry::make(RuleEntry::defaultRule(RuleKind::letterCase), true, false),
                  RuleEntry::make(RuleEntry::defaultRule(RuleKind::counter), false, false)});
    }
}

// Where presets and batches are kept: the folders the model was given, else
// the user's own; none when the user's cannot be found.
std::optional<PresetStore> AppModel::presetStore() const {
    try {
        return PresetStore(presetDirectory_ ? *presetDirectory_ : PresetStore::defaultDirectory());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<HistoryStore> AppModel::historyStore() const {
    try {
        return HistoryStore(historyDirectory_ ? *historyDirectory_ : HistoryStore::defaultDirectory());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void AppModel::reloadUserPresets() {
    std::vector<Preset> presets;
    try {
        if (const auto store = presetStore()) {
            presets = store->load();
        }
    } catch (const std::exception&) {
        // An unreadable preset folder offers no presets, without a message.
    }
    assign(userPresets_, std::move(presets), &AppModel::userPresetsChanged);
}

// ---- Items ----

void AppModel::openFolder(const std::string& path) {
    if (busy_) {
        return;
    }
    const bool otherFolder = folder_ != path || looseFiles_;
    assign(folder_, std::optional(path), &AppModel::folderChanged);
    assign(looseFiles_, false, &AppModel::looseFilesChanged);
    setUnchecked({});
    setSelectedID(std::nullopt);
    emit titleChanged();
    if (otherFolder) {
        // Another folder's items are not shown under this one's name meanwhile.
        replaceItems(std::make_shared<const ItemList>());
    }
    rescan();
}

void AppModel::open(const std::vector<std::string>& paths) {
    if (paths.empty() || busy_) {
        return;
    }
    std::vector<std::string> normalized;
    for (const std::string& path : paths) {
        normalized.push_back(Paths::normalized(path));
    }
    if (normalized.size() == 1 && access_->isDirectory(normalized.front())) {
        openFolder(normalized.front());
        return;
    }
    assign(folder_, std::optional<std::string>(), &AppModel::folderChanged);
    assign(looseFiles_, true, &AppModel::looseFilesChanged);
    setUnchecked({});
    setSelectedID(std::nullopt);
    assign(loadError_, std::optional<std::string>(), &AppModel::loadErrorChanged);
    emit titleChanged();
    replaceItems(std::make_shared<const ItemList>());
    load([access = access_, normalized, order = order_] {
        Loaded loaded;
        loaded.items = std::make_shared<const ItemList>(access->items(normalized));
        loaded.order = order;
        loaded.selection = selectionAfterLoad(*loaded.items, order, std::nullopt);
        return loaded;
    });
}

void AppModel::rescan() {
    if (!folder_ || looseFiles_ || busy_) {
        return;
    }
    load([fileSystem = access_->fileSystem(), path = *folder_, options = scanOptions_, order = order_,
          selected = selectedID_] {
        Loaded loaded;
        loaded.order = order;
        loaded.selectedBefore = selected;
        try {
            loaded.items = std::make_shared<const ItemList>(FolderScanner(fileSystem).scan(path, options));
        } catch (const FileSystemError& error) {
            loaded.error = error.message();
        } catch (const std::exception& error) {
            loaded.error = error.what();
        }
        loaded.selection = selectionAfterLoad(*loaded.items, order, selected);
        return loaded;
    });
}

void AppModel::chooseAndOpenFolder() {
    if (busy_) {
        return;
    }
    if (const auto path = access_->chooseFolder()) {
        openFolder(*path);
    }
}

// Loads run on a worker; only the newest one is taken, and only while the
// model exists (the watcher is its child).
void AppModel::load(std::function<Loaded()> job) {
    const std::uint64_t generation = ++loadGeneration_;
    assign(loading_, true, &AppModel::loadingChanged);
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation == loadGeneration_) {
            finishLoad(watcher->result());
        }
    });
    watcher->setFuture(QtConcurrent::run(std::move(job)));
}

void AppModel::finishLoad(Loaded loaded) {
    replaceItems(std::move(loaded.items));
    if (loaded.selectedBefore == selectedID_ && loaded.order == order_) {
        setSelectedID(std::move(loaded.selection));
    } else {
        setSelectedID(selectionAfterLoad(*items_, order_, selectedID_));
    }
    assign(loadError_, std::move(loaded.error), &AppModel::loadErrorChanged);
    assign(loading_, false, &AppModel::loadingChanged);
}

void AppModel::setItems(ItemList items) {
    if (busy_) {
        return;
    }
    replaceItems(std::make_shared<const ItemList>(std::move(items)));
}

void AppModel::replaceItems(std::shared_ptr<const ItemList> items) {
    items_ = std::move(items);
    ++itemsVersion_;
    emit itemsChanged();
    if (looseFiles_) {
        emit titleChanged();
    }
    scheduleReplan();
}

void AppModel::setScanOptions(const ScanOptions& options) {
    if (busy_) {
        return;
    }
    scanOptions_ = options;
    emit scanOptionsChanged();
    rescan();
}

// ---- Choices over the items ----

void AppModel::setUnchecked(IdSet unchecked) {
    if (busy_) {
        return;
    }
    unchecked_ = std::make_shared<const IdSet>(std::move(unchecked));
    ++uncheckedVersion_;
    emit uncheckedChanged();
    scheduleReplan();
}

void AppModel::setChecked(const std::string& id, bool checked) {
    if (busy_) {
        return;
    }
    IdSet unchecked = *unchecked_;
    if (checked) {
        unchecked.erase(id);
    } else {
        unchecked.insert(id);
    }
    setUnchecked(std::move(unchecked));
}

void AppModel::skipConflicting() {
    if (busy_) {
        return;
    }
    IdSet unchecked = *unchecked_;
    unchecked.insert(conflictIDs().begin(), conflictIDs().end());
    setUnchecked(std::move(unchecked));
}

void AppModel::setSearchText(std::string text) {
    searchText_ = std::move(text);
    emit searchTextChanged();
    scheduleReplan();
}

void AppModel::setSortField(SortField field) {
    setOrder(ItemOrder{field, order_.ascending});
}

void AppModel::setSortAscending(bool ascending) {
    setOrder(ItemOrder{order_.field, ascending});
}

void AppModel::setOrder(const ItemOrder& order) {
    order_ = order;
    emit sortChanged();
    scheduleReplan();
}

void AppModel::setShowOnlyChanged(bool on) {
    if (assign(showOnlyChanged_, on, &AppModel::showOnlyChangedChanged)) {
        emit rowsChanged();
    }
}

void AppModel::setSelectedID(std::optional<std::string> id) {
    const bool changed = id != selectedID_;
    selectedID_ = std::move(id);
    locateSelection();
    if (changed) {
        emit selectionChanged();
    }
}

void AppModel::selectFirstItem() {
    setSelectedID(selectionAfterLoad(*items_, order_, std::nullopt));
}

void AppModel::locateSelection() {
    selectedPosition_ = selectedID_ ? positionIn(plan(), *selectedID_) : std::nullopt;
}

// ---- State of presets, renames and the window ----

void AppModel::setCurrentPreset(std::optional<std::string> name) {
    assign(currentPreset_, std::move(name), &AppModel::currentPresetChanged);
}
void AppModel::setPresetMessage(std::optional<std::string> message) {
    assign(presetMessage_, std::move(message), &AppModel::presetMessageChanged);
}
void AppModel::setLastTransaction(std::optional<RenameTransaction> transaction) {
    assign(lastTransaction_, std::move(transaction), &AppModel::lastTransactionChanged);
}
void AppModel::setActionMessage(std::optional<std::string> message) {
    showActionMessage(std::move(message), true);
}
void AppModel::showActionMessage(std::optional<std::string> message, bool isWarning) {
    const bool kindChanged = std::exchange(actionMessageIsWarning_, isWarning) != isWarning;
    if (!assign(actionMessage_, std::move(message), &AppModel::actionMessageChanged) && kindChanged) {
        emit bannerChanged();
    }
}
void AppModel::setListEditingRule(std::optional<Uuid> id) {
    assign(listEditingRule_, std::move(id), &AppModel::listEditingRuleChanged);
}
void AppModel::setShowPresetManager(bool on) {
    assign(showPresetManager_, on, &AppModel::showPresetManagerChanged);
}
void AppModel::setShowSavePreset(bool on) {
    assign(showSavePreset_, on, &AppModel::showSavePresetChanged);
}
void AppModel::setOpenSettingsAtLaunch(bool on) {
    assign(openSettingsAtLaunch_, on, &AppModel::openSettingsAtLaunchChanged);
}
void AppModel::setShowWelcome(bool on) {
    assign(showWelcome_, on, &AppModel::showWelcomeChanged);
}
void AppModel::setCriteria(CriteriaMode mode) {
    assign(criteria_, mode, &AppModel::criteriaChanged);
}
void AppModel::toggleCriteria() {
    setCriteria(criteria_ == CriteriaMode::docked ? CriteriaMode::hidden : CriteriaMode::docked);
}
std::string AppModel::criteriaCommandTitle() const {
    return Localizer::text(criteria_ == CriteriaMode::docked ? "Hide Renaming Criteria"
                                                             : "Show Renaming Criteria");
}
void AppModel::setShowSidebar(bool on) {
    assign(showSidebar_, on, &AppModel::showSidebarChanged);
}
void AppModel::setShowConfirm(bool on) {
    assign(showConfirm_, on, &AppModel::showConfirmChanged);
}

} // namespace morvane::app
