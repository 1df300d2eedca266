#include "app/model/WindowPreview.h"

#include "app/model/Localizer.h"
#include "app/model/WorkerPools.h"
#include "engine/core/RuleKind.h"
#include "engine/metadata/LibraryMetadataReader.h"
#include "engine/metadata/MetadataCache.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <functional>

namespace morvane::app {
WindowPreview::WindowPreview(Planner planner, std::shared_ptr<const MetadataReader> reader,
                             std::function<PreviewInput()> inputs, QObject* parent)
    : QObject(parent), planner_(planner ? std::move(planner) : pipelinePlanner()), inputs_(std::move(inputs)),
      metadata_(std::make_shared<MetadataCache>(reader ? std::move(reader)
                                                       : std::make_shared<const LibraryMetadataReader>())),
      preview_(std::make_shared<const Preview>()) {
    debounce_.setSingleShot(true);
    debounce_.setInterval(30);
    debounce_.setTimerType(Qt::PreciseTimer);
    connect(&debounce_, &QTimer::timeout, this, &WindowPreview::start);
}

WindowPreview::~WindowPreview() {
    running_.request_stop();
}

void WindowPreview::scheduleReplan() {
    ++request_;
    running_.request_stop();
    debounce_.start();
}

// Runs 30 ms after the last request. The inputs are shared snapshots, so
// taking them costs the main thread nothing per item.
void WindowPreview::start() {
    PreviewInput input = inputs_();
    input.sorted = preview_->sorted;
    input.planning = preview_->planning;
    input.metadata = metadata_;
    input.pipeline = withContents(std::move(input.pipeline));
    running_ = std::stop_source();
    const std::stop_token stop = running_.get_token();
    const std::uint64_t request = request_;
    auto* watcher = new QFutureWatcher<std::shared_ptr<const Preview>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        std::shared_ptr<const Preview> preview = watcher->result();
        // A newer request supersedes this result, even when it was not stopped in time.
        if (preview && request == request_) {
            publish(std::move(preview));
        }
    });
    watcher->setFuture(
        QtConcurrent::run(&WorkerPools::planning(), [input = std::move(input), planner = planner_, stop] {
            return computePreview(input, planner, stop);
        }));
}

void WindowPreview::publish(std::shared_ptr<const Preview> preview) {
    std::shared_ptr<const Preview> old = std::exchange(preview_, std::move(preview));
    if (preview_->selectedID == selectedID_) {
        selectedPosition_ =
            preview_->selectedRow
                ? std::optional(PlanPosition{*preview_->selectedRow, preview_->selectedIncludedIndex,
                                             preview_->selectedFolderIndex})
                : std::nullopt;
    } else {
        selectedPosition_ = selectedID_ ? positionIn(plan(), *selectedID_) : std::nullopt;
    }
    emit planChanged();
    emit rowsChanged();
    releaseElsewhere(std::move(old));
}

// Freeing a plan of a million entries takes a while; not on the main thread.
void WindowPreview::releaseElsewhere(std::shared_ptr<const Preview> preview) {
    if (!preview) {
        return;
    }
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        emit replacedPreviewReleased();
    });
    watcher->setFuture(QtConcurrent::run(&WorkerPools::planning(),
                                         [preview = std::move(preview)]() mutable { preview.reset(); }));
}

std::span<const ItemNote> WindowPreview::notesOf(const RenamePlan::Entry& entry) const {
    const auto& entries = plan().entries;
    // Compared as addresses: the entry is one of this plan's only if it lies among them.
    const auto inPlan = [&] {
        return !entries.empty() && std::less_equal<>()(entries.data(), &entry) &&
               std::less<>()(&entry, entries.data() + entries.size());
    };
    if (!inPlan()) {
        return {};
    }
    return plan().notesFor(static_cast<std::size_t>(&entry - entries.data()));
}

RenamePipeline WindowPreview::withContents(RenamePipeline pipeline) const {
    pipeline.metadata = metadata_;
    return pipeline;
}

bool WindowPreview::isOfItems(std::uint64_t itemsVersion) const {
    return preview_->planning && preview_->planning->itemsVersion == itemsVersion;
}

void WindowPreview::setShowOnlyChanged(bool on) {
    if (on != showOnlyChanged_) {
        showOnlyChanged_ = on;
        emit showOnlyChangedChanged();
        emit rowsChanged();
    }
}

std::size_t WindowPreview::rowCount() const {
    return showOnlyChanged_ ? preview_->changedRows.size() : plan().entries.size();
}

Row WindowPreview::row(std::size_t index) const {
    return Row(plan().entries[showOnlyChanged_ ? preview_->changedRows[index] : index]);
}

StatusBarTexts WindowPreview::statusBar() const {
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

ConfirmationLine WindowPreview::confirmationLine(std::size_t index) const {
    const auto& conflicts = preview_->conflictRows;
    if (index < conflicts.size()) {
        const RenamePlan::Entry& entry = plan().entries[conflicts[index]];
        return {entry.item.name, entry.newName, rowStatus(entry, false)};
    }
    const RenamePlan::Entry& entry = plan().entries[preview_->operationRows.at(index - conflicts.size())];
    return {entry.item.name, entry.newName, std::nullopt};
}

std::size_t WindowPreview::confirmationLineCount() const {
    return preview_->conflictRows.size() + preview_->operationRows.size();
}

std::vector<std::string> WindowPreview::bypassedRules() const {
    std::vector<std::string> notes;
    for (const auto& [step, message] : plan().ruleErrors) {
        if (step < preview_->ruleKinds.size()) {
            notes.push_back(Localizer::format("Rule %lld, %@, has an error and is bypassed until fixed: %@",
                                              step + 1, title(preview_->ruleKinds[step]), message));
        }
    }
    return notes;
}

void WindowPreview::select(std::optional<std::string> id) {
    selectedID_ = std::move(id);
    selectedPosition_ = selectedID_ ? positionIn(plan(), *selectedID_) : std::nullopt;
}

const RenamePlan::Entry* WindowPreview::selectedEntry() const {
    if (!selectedPosition_ || selectedPosition_->row >= plan().entries.size()) {
        return nullptr;
    }
    return &plan().entries[selectedPosition_->row];
}

std::optional<std::size_t> WindowPreview::selectedIncludedIndex() const {
    return selectedPosition_ ? std::optional(selectedPosition_->includedIndex) : std::nullopt;
}

std::optional<std::size_t> WindowPreview::selectedFolderIndex() const {
    return selectedPosition_ ? std::optional(selectedPosition_->folderIndex) : std::nullopt;
}

std::optional<std::size_t> WindowPreview::selectedRowIndex() const {
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

std::optional<SelectedNames> WindowPreview::selectedNames() const {
    const RenamePlan::Entry* entry = selectedEntry();
    if (entry == nullptr || entry->status.kind == RenameStatus::Kind::excluded) {
        return std::nullopt;
    }
    return SelectedNames{entry->item.name, entry->newName};
}

} // namespace morvane::app
