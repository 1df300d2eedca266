#pragma once

#include "app/model/ConfirmationSheet.h"
#include "app/model/CriteriaMode.h"
#include "app/model/FolderAccess.h"
#include "app/model/PresetViews.h"
#include "app/model/Preview.h"
#include "app/model/RecoveryOffer.h"
#include "app/model/RenameProgress.h"
#include "app/model/ResultBanner.h"
#include "app/model/Row.h"
#include "app/model/RuleFigures.h"
#include "app/model/RuleList.h"
#include "app/model/WindowTexts.h"
#include "engine/core/ItemOrder.h"
#include "engine/core/StepTrace.h"
#include "engine/filesystem/ScanOptions.h"
#include "engine/presets/Preset.h"
#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/RenameTransaction.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {
class BatchRunner;
class MetadataCache;
class MetadataReader;
class HistoryStore;
class PresetStore;
struct BatchControl;
struct RecoveryOutcome;
} // namespace morvane

namespace morvane::app {

class AppSettings;
class LaunchOptions;
class ProgressRelay;

using SortField = ItemOrder::Field;

// The selected item in the rule panel: its name now and its new name.
struct SelectedNames {
    std::string original;
    std::string result;
};

// What a window's model works with; every field has a default for the real application.
struct AppModelEnvironment {
    AppSettings* settings = nullptr;             // the shared settings when null
    std::shared_ptr<FolderAccess> access;        // the local disk when null
    std::optional<std::string> presetDirectory;  // the user's preset folder when absent
    std::optional<std::string> historyDirectory; // the user's history folder when absent
    Planner planner;                             // the engine's planning when empty
    std::optional<std::string> homeFolder;       // the user's home when absent
    // What reads photo metadata and tags; the engine's own when null.
    std::shared_ptr<const MetadataReader> metadataReader;
};

// One window's model: where the items come from, the items and the user's
// choices over them, the rule list, the live preview, renaming and undo, and
// the presets, with every value the window shows. The window only draws what
// this holds and calls its operations. Main thread only; loading folders,
// computing previews and renaming run on worker threads over snapshots and
// are published back here.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<std::string> folder READ folder NOTIFY folderChanged)
    Q_PROPERTY(bool looseFiles READ looseFiles NOTIFY looseFilesChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    Q_PROPERTY(
        morvane::ScanOptions scanOptions READ scanOptions WRITE setScanOptions NOTIFY scanOptionsChanged)
    Q_PROPERTY(std::optional<std::string> loadError READ loadError NOTIFY loadErrorChanged)
    Q_PROPERTY(std::string searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(morvane::ItemOrder::Field sortField READ sortField WRITE setSortField NOTIFY sortChanged)
    Q_PROPERTY(bool sortAscending READ sortAscending WRITE setSortAscending NOTIFY sortChanged)
    Q_PROPERTY(
        bool showOnlyChanged READ showOnlyChanged WRITE setShowOnlyChanged NOTIFY showOnlyChangedChanged)
    Q_PROPERTY(
        std::optional<std::string> selectedID READ selectedID WRITE setSelectedID NOTIFY selectionChanged)
    Q_PROPERTY(std::optional<std::string> currentPreset READ currentPreset WRITE setCurrentPreset NOTIFY
                   currentPresetChanged)
    Q_PROPERTY(std::optional<std::string> presetMessage READ presetMessage WRITE setPresetMessage NOTIFY
                   presetMessageChanged)
    Q_PROPERTY(bool showPresetManager READ showPresetManager WRITE setShowPresetManager NOTIFY
                   showPresetManagerChanged)
    Q_PROPERTY(bool showSavePreset READ showSavePreset WRITE setShowSavePreset NOTIFY showSavePresetChanged)
    Q_PROPERTY(bool openSettingsAtLaunch READ openSettingsAtLaunch WRITE setOpenSettingsAtLaunch NOTIFY
                   openSettingsAtLaunchChanged)
    Q_PROPERTY(bool showWelcome READ showWelcome WRITE setShowWelcome NOTIFY showWelcomeChanged)
    Q_PROPERTY(morvane::app::CriteriaMode criteria READ criteria WRITE setCriteria NOTIFY criteriaChanged)
    Q_PROPERTY(bool showSidebar READ showSidebar WRITE setShowSidebar NOTIFY showSidebarChanged)
    Q_PROPERTY(bool showConfirm READ showConfirm WRITE setShowConfirm NOTIFY showConfirmChanged)
    Q_PROPERTY(std::optional<std::string> actionMessage READ actionMessage WRITE setActionMessage NOTIFY
                   actionMessageChanged)
    Q_PROPERTY(std::optional<morvane::Uuid> listEditingRule READ listEditingRule WRITE setListEditingRule
                   NOTIFY listEditingRuleChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChanged)
    Q_PROPERTY(morvane::app::RecoveryOffer recoveryOffer READ recoveryOffer NOTIFY recoveryOfferChanged)
    Q_PROPERTY(std::string title READ title NOTIFY titleChanged)
    Q_PROPERTY(std::string subtitle READ subtitle NOTIFY titleChanged)

public:
    using Environment = AppModelEnvironment;

    explicit AppModel(Environment environment = {}, QObject* parent = nullptr);
    ~AppModel() override;

    AppSettings& settings() const { return *settings_; }
    const FolderAccess& access() const { return *access_; }

    // Items.
    const std::optional<std::string>& folder() const { return folder_; }
    bool looseFiles() const { return looseFiles_; }
    const ItemList& items() const { return *items_; }
    // Replaces the items as they are (a refresh after renaming, or a test).
    void setItems(ItemList items);
    bool loading() const { return loading_; }
    const ScanOptions& scanOptions() const { return scanOptions_; }
    void setScanOptions(const ScanOptions& options);
    const std::optional<std::string>& loadError() const { return loadError_; }

    // Shows a folder's contents; scanning runs in the background (`loading`).
    void openFolder(const std::string& path);
    // What the user dropped or chose: one folder opens as a folder; anything
    // else shows the paths themselves.
    void open(const std::vector<std::string>& paths);
    // Reads the folder again (nothing with loose files).
    void rescan();
    // The folder picker, then `openFolder` unless it was cancelled.
    void chooseAndOpenFolder();

    // The user's choices over the items.
    const IdSet& unchecked() const { return *unchecked_; }
    void setUnchecked(IdSet unchecked);
    void setChecked(const std::string& id, bool checked);
    bool isChecked(const std::string& id) const { return !unchecked_->contains(id); }
    const std::string& searchText() const { return searchText_; }
    void setSearchText(std::string text);
    SortField sortField() const { return order_.field; }
    void setSortField(SortField field);
    bool sortAscending() const { return order_.ascending; }
    void setSortAscending(bool ascending);
    const ItemOrder& order() const { return order_; }
    void setOrder(const ItemOrder& order);
    bool showOnlyChanged() const { return showOnlyChanged_; }
    void setShowOnlyChanged(bool on);
    const std::optional<std::string>& selectedID() const { return selectedID_; }
    void setSelectedID(std::optional<std::string> id);
    // Unchecks every conflicting item.
    void skipConflicting();

    // The rule list. Every change runs the same follow-up: the list no longer
    // is the preset it came from (unless one is being applied), the last
    // rename's undo and message are withdrawn, and a new preview is planned.
    const std::vector<RuleEntry>& rules() const { return rules_.entries(); }
    void setRules(std::vector<RuleEntry> entries);
    void addRule(RuleKind kind);
    void duplicate(const Uuid& id);
    void deleteRule(const Uuid& id);
    void move(const Uuid& id, std::ptrdiff_t offset);
    // A card dropped before the entry at `destination` (see RuleList::place).
    void placeRule(const Uuid& id, std::size_t destination);
    void reset(const Uuid& id);
    void setAllExpanded(bool expanded);
    // The one path for editing an entry in place (editors, switch, expansion).
    void editRule(const Uuid& id, const std::function<void(RuleEntry&)>& change);
    void setRule(const Uuid& id, AnyRule rule);
    void setEnabled(const Uuid& id, bool enabled);
    void setExpanded(const Uuid& id, bool expanded);
    // Replaces the list with a preset's rules, keeping the preset's name.
    void applyRules(std::vector<RuleEntry> entries, const std::string& presetName);
    std::size_t activeRuleCount() const { return rules_.activeCount(); }
    // "%lld of %lld active".
    std::string activeRulesText() const;
    std::size_t changedCount(const Uuid& id) const;
    RuleFigures figures(const Uuid& id) const;
    // Every card's figures, in list order, over one trace of the selected item.
    std::vector<RuleFigures> ruleFigures() const;
    // Absent with no selected item, or an excluded one.
    std::optional<SelectedNames> selectedNames() const;
    // The list mode of a Replace or Regex editor: leaving it keeps the first
    // pair only; entering it changes nothing.
    void setListMode(const Uuid& id, bool on);

    // The pair-list editor.
    std::optional<ListRows> listRows(const Uuid& id) const { return rules_.listRows(id); }
    void setListRows(const Uuid& id, const ListRows& rows);
    const std::optional<Uuid>& listEditingRule() const { return listEditingRule_; }
    void setListEditingRule(std::optional<Uuid> id);
    std::string listEditorTitle() const;
    // Per pair of a Replace or Regex entry, its matches in the names the rule
    // receives. `matchCountsJob` takes its snapshot here and may run anywhere.
    std::vector<std::size_t> matchCounts(const Uuid& id) const;
    std::function<std::vector<std::size_t>()> matchCountsJob(const Uuid& id) const;

    // The preview. `plan` stays until a newer one is published.
    const RenamePlan& plan() const { return preview_->plan; }
    // Requests a new plan: 30 ms after the last request, on a worker thread.
    void scheduleReplan();
    std::size_t rowCount() const;
    Row row(std::size_t index) const;
    const PlanSummary& summary() const { return preview_->summary; }
    const IdSet& conflictIDs() const { return preview_->conflictIDs; }
    const RenamePlan::Entry* selectedEntry() const;
    std::vector<StepTrace> trace() const;
    RowStatus status(const RenamePlan::Entry& entry) const;
    StatusBarTexts statusBar() const;
    EmptyState emptyState() const;
    // Where the selected item is among the rows shown; absent when it is not shown.
    std::optional<std::size_t> selectedRowIndex() const;
    std::string title() const;
    std::string subtitle() const;

    // Presets, rename and undo state.
    const std::vector<Preset>& userPresets() const { return userPresets_; }
    void reloadUserPresets();
    const std::optional<std::string>& presetDirectory() const { return presetDirectory_; }
    const std::optional<std::string>& historyDirectory() const { return historyDirectory_; }
    const std::optional<std::string>& currentPreset() const { return currentPreset_; }
    void setCurrentPreset(std::optional<std::string> name);
    const std::optional<std::string>& presetMessage() const { return presetMessage_; }
    void setPresetMessage(std::optional<std::string> message);
    const std::optional<RenameTransaction>& lastTransaction() const { return lastTransaction_; }
    void setLastTransaction(std::optional<RenameTransaction> transaction);
    const std::optional<std::string>& actionMessage() const { return actionMessage_; }
    void setActionMessage(std::optional<std::string> message);

    // Renaming and undo run on a worker thread. While one runs the model is
    // `busy` and refuses (ignores) every operation that would change the
    // items, the unchecked set, the rules or the presets, and every other
    // rename or undo; the batch therefore ends exactly as if it had held the
    // window up. Its progress shows once it has run for a moment.
    bool busy() const { return busy_; }
    // Carries out the plan on screen, exactly as shown: nothing while it has
    // conflicts or nothing to rename, or while it is not yet the plan of the
    // items now loaded.
    void performRename();
    // Takes back the window's last rename, else the newest batch of the
    // history that can still be undone.
    void undoLastRename();
    // Whether Undo Rename is offered: for the window's last rename, and in a
    // window that has not run a batch yet, for the newest batch of the
    // history that can still be undone (looked for on a worker thread when
    // the window opens), so that a batch can be undone after a restart.
    bool canUndo() const { return lastTransaction_.has_value() || historyUndoable_; }
    // A rename stops before its next move and puts back what it moved; an
    // undo stops before its next move and leaves the rest for later.
    void stopRenaming();
    const std::optional<RenameProgress>& renameProgress() const { return renameProgress_; }
    // Whether the last rename was written to the history.
    const HistoryRecording& lastRecording() const { return lastRecording_; }

    // Batches a crash left unfinished in the history folder are looked for
    // at start, on a worker thread, and offered until the user answers. One
    // model of the process at a time looks in a history folder: a later one
    // looks again only when this one found nothing or closed without an
    // answer. Batches another process runs are left out; records that
    // cannot be read are only reported.
    RecoveryOffer recoveryOffer() const;
    // Puts the offered batches back as a batch of its own (the model is
    // `busy`), then says what was put back and what could not be, and reads
    // the folder shown again if they concern it.
    void recoverInterruptedBatches();
    // Withdraws the offer for the rest of this run.
    void dismissRecovery();

    // The confirmation sheet; `undoShortcut` in the platform's notation.
    ConfirmationSheet confirmationSheet(std::string_view undoShortcut) const;
    // The index-th item that will be renamed (index < the sheet's lineCount).
    ConfirmationLine confirmationLine(std::size_t index) const;
    // The Rename command and the status bar's button open the sheet only
    // when there is something to rename or a conflict to resolve.
    bool canOpenConfirmation() const;
    // "Renamed", "Rename %lld Items" or "Rename".
    std::string renameButtonTitle() const;
    ResultBanner resultBanner() const;

    // Presets: the factory presets not replaced by one of the user's (letter
    // case ignored), then the user's. Every operation reads and writes the
    // preset folder at once; failures become `presetMessage`.
    std::vector<Preset> allPresets() const;
    std::vector<Preset> favoritePresets() const; // at most nine
    bool isFactory(const Preset& preset) const;
    // The name to show: the factory presets' names are translated.
    static std::string presetName(const std::string& name);
    PresetMenu presetMenu() const;
    void apply(const Preset& preset);
    bool saveCurrentRules(const std::string& name);
    void renamePreset(const Preset& preset, const std::string& newName);
    void deletePreset(const Preset& preset);
    void setFavorite(const Preset& preset, bool favorite);
    void importPresets(const std::vector<std::string>& paths);
    // Writes the preset to `path`; false, with the reason in `presetMessage`, when that fails.
    bool exportPreset(const Preset& preset, const std::string& path);
    // `favoriteShortcuts` is the range of the favourites' shortcuts in the
    // platform's notation ("⌃⌘1–9", "Ctrl+Alt+1–9").
    PresetManager presetManager(std::string_view favoriteShortcuts) const;
    SavePresetSheet savePresetSheet() const;
    // "A preset with this name exists and will be replaced." while the name
    // (trimmed, letter case ignored) is one of the user's presets.
    std::optional<std::string> savePresetWarning(const std::string& name) const;

    // Window state.
    bool showPresetManager() const { return showPresetManager_; }
    void setShowPresetManager(bool on);
    bool showSavePreset() const { return showSavePreset_; }
    void setShowSavePreset(bool on);
    bool openSettingsAtLaunch() const { return openSettingsAtLaunch_; }
    void setOpenSettingsAtLaunch(bool on);
    bool showWelcome() const { return showWelcome_; }
    void setShowWelcome(bool on);
    CriteriaMode criteria() const { return criteria_; }
    void setCriteria(CriteriaMode mode);
    void toggleCriteria();
    // What toggling does: "Hide Renaming Criteria" or "Show Renaming Criteria".
    std::string criteriaCommandTitle() const;
    bool showSidebar() const { return showSidebar_; }
    void setShowSidebar(bool on);
    bool showConfirm() const { return showConfirm_; }
    void setShowConfirm(bool on);

signals:
    void folderChanged();
    void looseFilesChanged();
    void itemsChanged();
    void loadingChanged();
    void scanOptionsChanged();
    void loadErrorChanged();
    void uncheckedChanged();
    void searchTextChanged();
    void sortChanged();
    void showOnlyChangedChanged();
    void selectionChanged();
    void rulesChanged();
    void userPresetsChanged();
    void currentPresetChanged();
    void presetMessageChanged();
    void lastTransactionChanged();
    void canUndoChanged();
    void actionMessageChanged();
    void listEditingRuleChanged();
    // A new preview was published: plan, rows, summary, conflicts, selection figures.
    void planChanged();
    // The rows shown changed: a new plan, or `showOnlyChanged`.
    void rowsChanged();
    void titleChanged();
    void showPresetManagerChanged();
    void showSavePresetChanged();
    void openSettingsAtLaunchChanged();
    void showWelcomeChanged();
    void criteriaChanged();
    void showSidebarChanged();
    void showConfirmChanged();
    void busyChanged();
    void renameProgressChanged();
    void recoveryOfferChanged();
    // What the confirmation sheet shows changed: the plan, the subtitle, or `busy`.
    void confirmationChanged();
    // What the result banner shows changed.
    void bannerChanged();
    // The presets offered changed: the user's presets or the current one.
    void presetsChanged();

private:
    struct Loaded;
    struct BatchResult;

    template <typename T>
    bool assign(T& field, T value, void (AppModel::*changed)()) {
        if (field == value) {
            return false;
        }
        field = std::move(value);
        emit(this->*changed)();
        return true;
    }
    void rulesDidChange();
    // The rules as planning runs them: with what has been read of the files.
    RenamePipeline planningPipeline() const;
    void startPreview();
    void publish(std::shared_ptr<const Preview> preview);
    void locateSelection();
    void load(std::function<Loaded()> job);
    void finishLoad(Loaded loaded);
    void replaceItems(std::shared_ptr<const ItemList> items);
    void applyLaunchOptions(const LaunchOptions& options);
    void selectFirstItem();

    std::optional<PresetStore> presetStore() const;
    std::optional<HistoryStore> historyStore() const;
    BatchRunner runner() const;
    void lookForUndoableBatch();
    bool planIsOfCurrentItems() const;
    void startBatch(std::function<std::shared_ptr<BatchResult>(const BatchControl&)> job);
    void finishBatch(std::shared_ptr<BatchResult> result);
    void finishRename(BatchResult& result);
    void finishUndo(BatchResult& result);
    void finishRecovery(const std::vector<RecoveryOutcome>& outcomes);
    void lookForUnfinishedBatches();
    void releaseRecoveryClaim();
    void showActionMessage(std::optional<std::string> message, bool isWarning);
    void refreshAfter(const RenameTransaction& transaction, BatchResult& result);
    void publishProgress();
    void closeSheetWhenNothingIsLeft();

    AppSettings* settings_;
    std::shared_ptr<FolderAccess> access_;
    Planner planner_;
    std::string homeFolder_;

    std::optional<std::string> folder_;
    bool looseFiles_ = false;
    std::shared_ptr<const ItemList> items_;
    std::uint64_t itemsVersion_ = 0;
    ScanOptions scanOptions_;
    std::optional<std::string> loadError_;
    bool loading_ = false;
    std::uint64_t loadGeneration_ = 0;
    std::shared_ptr<const IdSet> unchecked_;
    std::uint64_t uncheckedVersion_ = 0;
    std::string searchText_;
    ItemOrder order_;
    bool showOnlyChanged_ = false;
    std::optional<std::string> selectedID_;
    std::optional<PlanPosition> selectedPosition_;

    RuleList rules_;
    bool applyingPreset_ = false;
    std::optional<Uuid> listEditingRule_;
    std::vector<Preset> userPresets_;
    std::optional<std::string> presetDirectory_;
    std::optional<std::string> historyDirectory_;
    std::optional<std::string> currentPreset_;
    std::optional<std::string> presetMessage_;
    std::optional<RenameTransaction> lastTransaction_;
    HistoryRecording lastRecording_;
    bool historyUndoable_ = false;
    bool hasRunBatch_ = false;
    std::optional<std::string> actionMessage_;
    bool actionMessageIsWarning_ = true;

    bool busy_ = false;
    std::stop_source batchStop_;
    std::shared_ptr<ProgressRelay> progressRelay_;
    QTimer progressTimer_;
    std::optional<RenameProgress> renameProgress_;

    std::vector<UnfinishedBatch> unfinished_; // offered
    // The history folder whose unfinished batches this model looks for or
    // offers, until the user answers.
    std::optional<std::string> recoveryClaim_;

    bool showPresetManager_ = false;
    bool showSavePreset_ = false;
    bool openSettingsAtLaunch_ = false;
    bool showWelcome_ = false;
    CriteriaMode criteria_ = CriteriaMode::docked;
    bool showSidebar_ = true;
    bool showConfirm_ = false;

    // What has been read of the files' contents, kept while they stay the
    // same, so that editing rules never reads a file twice.
    std::shared_ptr<MetadataCache> metadata_;
    std::shared_ptr<const Preview> preview_;
    QTimer debounce_;
    std::uint64_t previewRequest_ = 0; // raised by every request
    std::stop_source runningPreview_;
};

} // namespace morvane::app
