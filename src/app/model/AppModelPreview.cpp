// The live preview of the window's model: debounced requests, the worker
// computation, publication, and every value derived from the published plan.
#include "app/model/AppModel.h"
#include "app/model/HomePath.h"
#include "app/model/Localizer.h"
#include "engine/metadata/MetadataCache.h"
#include "engine/support/Paths.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace morvane::app {
namespace {

// Previews get a pool of their own, so a folder being read never holds one
// up, and a stopped computation still winding down never delays the next.
QThreadPool& previewPool() {
    static QThreadPool* pool = [] {
        auto* made = new QThreadPool();
        made->setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        return made;
    }();
    return *pool;
}

// Freeing a plan of a million entries takes a while; not on the main thread.
void releaseElsewhere(std::shared_ptr<const Preview> preview) {
    if (preview) {
        previewPool().start([preview = std::move(preview)]() mutable { preview.reset(); });
    }
}

} // namespace

void AppModel::scheduleReplan() {
    ++previewRequest_;
    runningPreview_.request_stop();
    debounce_.start();
}

RenamePipeline AppModel::planningPipeline() const {
    RenamePipeline pipeline = rules_.pipeline();
    pipeline.metadata = metadata_;
    return pipeline;
}

// Runs 30 ms after the last request. The inputs are shared snapshots, so
// taking them costs the main thread nothing per item.
void AppModel::startPreview() {
    PreviewInput input{items_,
                       itemsVersion_,
                       order_,
                       unchecked_,
                       uncheckedVersion_,
                       searchText_,
                       planningPipeline(),
                       metadata_,
                       selectedID_,
                       looseFiles_ ? access_->fileSystem() : nullptr,
                       preview_->sorted,
                       preview_->planning};
    runningPreview_ = std::stop_source();
    const std::stop_token stop = runningPreview_.get_token();
    const std::uint64_t request = previewRequest_;
    auto* watcher = new QFutureWatcher<std::shared_ptr<const Preview>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        std::shared_ptr<const Preview> preview = watcher->result();
        // A newer request supersedes this result, even when it was not stopped in time.
        if (preview && request == previewRequest_) {
            publish(std::move(preview));
        }
    });
    watcher->setFuture(
        QtConcurrent::run(&previewPool(), [input = std::move(input), planner = planner_, stop] {
            return computePreview(input, planner, stop);
        }));
}

void AppModel::publish(std::shared_ptr<const Preview> preview) {
    std::shared_ptr<const Preview> old = std::exchange(preview_, std::move(preview));
    if (preview_->selectedID == selectedID_) {
        selectedPosition_ =
            preview_->selectedRow
                ? std::optional(PlanPosition{*preview_->selectedRow, preview_->selectedIncludedIndex})
                : std::nullopt;
    } else {
        locateSelection();
    }
    emit planChanged();
    emit rowsChanged();
    releaseElsewhere(std::move(old));
}

std::size_t AppModel::rowCount() const {
    return showOnlyChanged_ ? preview_->changedRows.size() : plan().entries.size();
}

Row AppModel::row(std::size_t index) const {
    return Row(plan().entries[showOnlyChanged_ ? preview_->changedRows[index] : index]);
}

const RenamePlan::Entry* AppModel::selectedEntry() const {
    if (!selectedPosition_ || selectedPosition_->row >= plan().entries.size()) {
        return nullptr;
    }
    return &plan().entries[selectedPosition_->row];
}

std::vector<StepTrace> AppModel::trace() const {
    const RenamePlan::Entry* entry = selectedEntry();
    if (entry == nullptr || entry->status.kind == RenameStatus::Kind::excluded) {
        return {};
    }
    return planningPipeline().trace(entry->item, static_cast<std::int64_t>(selectedPosition_->includedIndex),
                                    static_cast<std::int64_t>(summary().included));
}

RowStatus AppModel::status(const RenamePlan::Entry& entry) const {
    const auto& entries = plan().entries;
    const bool isShown =
        !entries.empty() && &entry >= entries.data() && &entry < entries.data() + entries.size();
    return rowStatus(entry, unchecked_->contains(entry.item.id),
                     isShown ? plan().notesFor(static_cast<std::size_t>(&entry - entries.data()))
                             : std::span<const ItemNote>());
}

StatusBarTexts AppModel::statusBar() const {
    const PlanSummary& figures = summary();
    StatusBarTexts texts{Localizer::counted("%lld item", "%lld items", figures.items),
                         Localizer::counted("%lld included", "%lld included", figures.included),
                         Localizer::counted("%lld to rename", "%lld to rename", figures.toRename),
                         {},
                         {}};
    if (figures.conflicts == 0) {
        texts.conflicts = Localizer::text("No conflicts");
        texts.conflictsSymbol = "checkmark";
    } else {
        texts.conflicts = Localizer::counted("%lld conflict", "%lld conflicts", figures.conflicts);
        texts.conflictsSymbol = "exclamationmark.triangle.fill";
    }
    return texts;
}

EmptyState AppModel::emptyState() const {
    return {Localizer::text("Drop files or folders here"),
            Localizer::text("Morvane previews every new name before anything changes on disk."),
            Localizer::text("Open Folder\u2026"), loadError_};
}

std::optional<std::size_t> AppModel::selectedRowIndex() const {
    if (!selectedPosition_) {
        return std::nullopt;
    }
    const std::size_t row = selectedPosition_->row;
    if (!showOnlyChanged_) {
        return row;
    }
    const auto& changed = preview_->changedRows;
    const auto found = std::lower_bound(changed.begin(), changed.end(), row);
    if (found == changed.end() || *found != row) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - changed.begin());
}

std::string AppModel::title() const {
    if (folder_) {
        const std::string name = Paths::lastComponent(*folder_);
        return name.empty() ? std::string("/") : name;
    }
    if (looseFiles_) {
        return Localizer::text("Selected Items");
    }
    return "Morvane";
}

std::string AppModel::subtitle() const {
    if (folder_) {
        return abbreviatingHome(*folder_, homeFolder_);
    }
    if (looseFiles_) {
        return Localizer::counted("%lld item", "%lld items", items_->size());
    }
    return {};
}

} // namespace morvane::app
