#pragma once

#include "app/model/CriteriaMode.h"
#include "app/model/EditGate.h"
#include "app/model/FolderAccess.h"
#include "app/model/Preview.h"
#include "app/model/WindowBatches.h"
#include "app/model/WindowItems.h"
#include "app/model/WindowPresets.h"
#include "app/model/WindowPreview.h"
#include "app/model/WindowRecovery.h"
#include "app/model/WindowRules.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace morvane {
class MetadataReader;
} // namespace morvane

namespace morvane::app {

class AppSettings;
class LaunchOptions;

// What a window's model works with; every field has a default for the real application.
struct AppModelEnvironment {
    AppSettings* settings = nullptr;             // the shared settings when null
    std::shared_ptr<FolderAccess> access;        // the local disk when null
    std::optional<std::string> presetDirectory;  // the user's preset folder when absent
    std::optional<std::string> historyDirectory; // the user's history folder when absent
    Planner planner;                             // the engine's planning when empty
    std::optional<std::string> homeFolder;       // the user's home when absent
    std::function<void()> returnFreedMemory;     // returnFreedMemory() when empty
    // The first window of a run: it starts with the last rules stored, when
    // the settings say so.
    bool restoreLastRules = false;
    // What reads photo metadata and tags; the engine's own when null.
    std::shared_ptr<const MetadataReader> metadataReader;
};

// One window's model: its parts, wired together, and the state of the
// window itself. The parts are the items (where they come from and the
// user's choices over them), the rule list, the live preview, the batches
// (renaming and undo), the recovery of batches a crash cut short, and the
// presets; the window reads the part it needs and calls its operations. A
// change of the items or the rules plans the preview anew; a change of the
// rules also withdraws the last rename's undo and forgets the preset the
// rules came from. While a batch runs, one gate refuses every change of what
// it works on. The first model of a process takes the launch options. The
// rule list is handed to the settings a moment after each change and when
// the window goes, for the first window of the next run. Main thread only.
class AppModel : public QObject {
    Q_OBJECT

public:
    using Environment = AppModelEnvironment;

    explicit AppModel(Environment environment = {}, QObject* parent = nullptr);
    ~AppModel() override;

    AppSettings& settings() const { return *settings_; }
    WindowItems& items() { return items_; }
    const WindowItems& items() const { return items_; }
    WindowPreview& preview() { return preview_; }
    const WindowPreview& preview() const { return preview_; }
    WindowRules& rules() { return rules_; }
    const WindowRules& rules() const { return rules_; }
    WindowBatches& batches() { return batches_; }
    const WindowBatches& batches() const { return batches_; }
    WindowRecovery& recovery() { return recovery_; }
    WindowPresets& presets() { return presets_; }
    const WindowPresets& presets() const { return presets_; }

    // The table's status of an entry of the published plan: the items'
    // part decides it, with what the rules said about the entry's file.
    RowStatus status(const RenamePlan::Entry& entry) const;

    // Unchecks every item the preview finds in conflict.
    void skipConflicting();

    // The settings window is to open once the window is up (a launch option).
    bool openSettingsAtLaunch() const { return openSettingsAtLaunch_; }
    void setOpenSettingsAtLaunch(bool on);
    bool showWelcome() const { return showWelcome_; }
    void setShowWelcome(bool on);
    CriteriaMode criteria() const { return criteria_; }
    void toggleCriteria();
    // What toggling does: "Hide Renaming Criteria" or "Show Renaming Criteria".
    std::string criteriaCommandTitle() const;
    bool showSidebar() const { return showSidebar_; }
    void setShowSidebar(bool on);

signals:
    void openSettingsAtLaunchChanged();
    void showWelcomeChanged();
    void criteriaChanged();
    void showSidebarChanged();

private:
    PreviewInput previewInput() const;
    void applyLaunchOptions(const LaunchOptions& options);
    void restoreLastRules();
    void storeRules();

    AppSettings* settings_;
    EditGate gate_;
    WindowItems items_;
    WindowPreview preview_;
    WindowRules rules_;
    WindowBatches batches_;
    WindowRecovery recovery_;
    WindowPresets presets_;
    QTimer storeRulesSoon_;

    bool openSettingsAtLaunch_ = false;
    bool showWelcome_ = false;
    CriteriaMode criteria_ = CriteriaMode::docked;
    bool showSidebar_ = true;
};

} // namespace morvane::app
