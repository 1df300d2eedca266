#pragma once

#include "app/model/ConfirmationSheet.h"
#include "app/model/Preview.h"
#include "app/model/Row.h"
#include "app/model/WindowTexts.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace morvane {
class MetadataCache;
class MetadataReader;
} // namespace morvane

namespace morvane::app {

// The selected item in the rule panel: its name now and its new name.
struct SelectedNames {
    std::string original;
    std::string result;
};

// The live preview of one window: every request plans anew 30 ms after the
// last one, on a worker thread, over snapshots of the items and rules taken
// then; a result overtaken by a newer request is never published, even one
// that had already been computed. The published plan stays until a newer one
// replaces it, and everything the table, the status bar and the selection
// read is derived from it. What rules read of the files' contents is read
// on the worker before planning and kept while the files stay the same, so
// that editing the rules never reads a file again. Main thread only.
class WindowPreview : public QObject {
    Q_OBJECT

public:
    // `inputs` takes what a computation reads (its lists of the last
    // computation and the files' contents are filled in here). `reader`
    // reads photo metadata and tags; the engine's own when null.
    WindowPreview(Planner planner, std::shared_ptr<const MetadataReader> reader,
                  std::function<PreviewInput()> inputs, QObject* parent = nullptr);
    ~WindowPreview() override;

    // Asks for a new plan: 30 ms after the last request, on a worker thread.
    void scheduleReplan();

    const RenamePlan& plan() const { return preview_->plan; }
    // The published preview as it is: what a batch carries out.
    const std::shared_ptr<const Preview>& published() const { return preview_; }
    const PlanSummary& summary() const { return preview_->summary; }
    const IdSet& conflictIDs() const { return preview_->conflictIDs; }
    // What rules said about the entry of the published plan (what its file
    // lacks); empty for an entry of another plan.
    std::span<const ItemNote> notesOf(const RenamePlan::Entry& entry) const;
    // `pipeline` looking up what has been read of the files, as planning
    // runs it: for a trace or match counts that agree with the preview.
    RenamePipeline withContents(RenamePipeline pipeline) const;
    // Whether the plan was made from the items of this version.
    bool isOfItems(std::uint64_t itemsVersion) const;

    // The table hides unchanged and excluded rows; planning does not change.
    bool showOnlyChanged() const { return showOnlyChanged_; }
    void setShowOnlyChanged(bool on);
    std::size_t rowCount() const;
    Row row(std::size_t index) const;
    StatusBarTexts statusBar() const;
    // The confirmation sheet's index-th line: the items in conflict, then
    // those that will be renamed (index < their number).
    ConfirmationLine confirmationLine(std::size_t index) const;
    std::size_t confirmationLineCount() const;
    // "Rule 2, Regex, has an error and is bypassed until fixed: …" for each
    // enabled rule the plan bypasses for an error, in list order.
    std::vector<std::string> bypassedRules() const;

    // The item selected now, found in the plan.
    void select(std::optional<std::string> id);
    const RenamePlan::Entry* selectedEntry() const;
    // Its position among the entries that are not excluded, and among those of its folder.
    std::optional<std::size_t> selectedIncludedIndex() const;
    std::optional<std::size_t> selectedFolderIndex() const;
    // Entries whose new names were written by hand.
    std::size_t editedCount() const { return preview_->editedCount; }
    // Where it is among the rows shown; absent when it is not shown.
    std::optional<std::size_t> selectedRowIndex() const;
    // Absent with no selected item, or an excluded one.
    std::optional<SelectedNames> selectedNames() const;

signals:
    // A new preview was published: plan, rows, summary, conflicts, selection figures.
    void planChanged();
    // The rows shown changed: a new plan, or `showOnlyChanged`.
    void rowsChanged();
    void showOnlyChangedChanged();
    // The preview a publication replaced has been freed (on a worker thread).
    void replacedPreviewReleased();

private:
    void start();
    void publish(std::shared_ptr<const Preview> preview);
    void releaseElsewhere(std::shared_ptr<const Preview> preview);

    Planner planner_;
    std::function<PreviewInput()> inputs_;
    std::shared_ptr<MetadataCache> metadata_;
    std::shared_ptr<const Preview> preview_;
    QTimer debounce_;
    std::uint64_t request_ = 0; // raised by every request
    std::stop_source running_;
    bool showOnlyChanged_ = false;
    std::optional<std::string> selectedID_;
    std::optional<PlanPosition> selectedPosition_;
};

} // namespace morvane::app
