#include "app/model/WindowItems.h"

#include "app/model/HomePath.h"
#include "app/model/Localizer.h"
#include "app/model/WorkerPools.h"
#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/FolderScanner.h"
#include "engine/support/Paths.h"

#include <QFutureWatcher>
#include <algorithm>
#include <atomic>

namespace morvane::app {

// A finished load: the items, or the reason there are none, and the
// selection worked out over them in the background.
struct WindowItems::Loaded {
    std::shared_ptr<const ItemList> items = std::make_shared<const ItemList>();
    std::optional<std::string> error;
    std::size_t unreadableNames = 0;
    bool isComplete = true; // false: the read was stopped
    ItemOrder order;        // the order the selection was made in
    std::optional<std::string> selectedBefore;
    std::optional<std::string> selection;
};

// The figures a read's thread leaves for the window's thread to show.
struct WindowItems::Relay {
    std::atomic<std::size_t> items = 0;
    std::atomic<std::size_t> folders = 0;
};

namespace {

// A read that ends sooner shows no figures; a longer one shows them at a
// pace that reads as counting.
constexpr int progressRefreshMs = 100;

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

} // namespace

WindowItems::WindowItems(std::shared_ptr<FolderAccess> access, std::string homeFolder, EditGate& gate,
                         QObject* parent)
    : QObject(parent), access_(std::move(access)), homeFolder_(std::move(homeFolder)), gate_(gate),
      items_(std::make_shared<const ItemList>()), unchecked_(std::make_shared<const IdSet>()) {
    progressTimer_.setInterval(progressRefreshMs);
    connect(&progressTimer_, &QTimer::timeout, this, &WindowItems::publishProgress);
}

void WindowItems::openFolder(const std::string& path) {
    gate_.pass([&] {
        const bool otherFolder = folder_ != path || looseFiles_;
        showSource(path, false, otherFolder);
        if (otherFolder) {
            // Another folder's items are not shown under this one's name meanwhile.
            replaceItems(std::make_shared<const ItemList>());
        }
        rescan();
    });
}

void WindowItems::open(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    gate_.pass([&] {
        std::vector<std::string> normalized;
        for (const std::string& path : paths) {
            normalized.push_back(Paths::normalized(path));
        }
        if (normalized.size() == 1 && access_->isDirectory(normalized.front())) {
            openFolder(normalized.front());
            return;
        }
        showSource(std::nullopt, true, true);
        setUnreadableNames(0);
        if (loadError_) {
            loadError_.reset();
            emit loadErrorChanged();
        }
        replaceItems(std::make_shared<const ItemList>());
        load(
            [access = access_, normalized, order = order_](const ScanControl&) {
                Loaded loaded;
                loaded.items = std::make_shared<const ItemList>(access->items(normalized));
                loaded.order = order;
                loaded.selection = selectionAfterLoad(*loaded.items, order, std::nullopt);
                return loaded;
            },
            false);
    });
}

// What every new source starts with: nothing unchecked, nothing selected.
void WindowItems::showSource(std::optional<std::string> folder, bool looseFiles, bool other) {
    if (folder_ != folder) {
        folder_ = std::move(folder);
        emit folderChanged();
    }
    if (looseFiles_ != looseFiles) {
        looseFiles_ = looseFiles;
        emit looseFilesChanged();
    }
    replaceUnchecked({});
    setSelectedID(std::nullopt);
    emit titleChanged();
    if (other) {
        unreadableNamesDismissed_ = false;
        emit sourceChanged();
    }
    emit sourceOpened();
}

void WindowItems::rescan() {
    if (!folder_ || looseFiles_) {
        return;
    }
    gate_.pass([&] {
        load(
            [fileSystem = access_->fileSystem(), path = *folder_, options = scanOptions_, order = order_,
             selected = selectedID_](const ScanControl& control) {
                Loaded loaded;
                loaded.order = order;
                loaded.selectedBefore = selected;
                try {
                    ScanResult scanned = FolderScanner(fileSystem).scanReporting(path, options, control);
                    loaded.isComplete = scanned.isComplete;
                    loaded.unreadableNames = scanned.unreadableNameCount;
                    loaded.items = std::make_shared<const ItemList>(std::move(scanned.items));
                } catch (const FileSystemError& error) {
                    loaded.error = error.message();
                } catch (const std::exception& error) {
                    loaded.error = error.what();
                }
                loaded.selection = selectionAfterLoad(*loaded.items, order, selected);
                return loaded;
            },
            true);
    });
}

void WindowItems::chooseAndOpenFolder() {
    // No picker for a folder that could not be opened.
    gate_.pass([&] {
        const auto choice = access_->chooseFolder(scanOptions_.recursive);
        if (!choice) {
            return;
        }
        if (choice->includeSubfolders != scanOptions_.recursive) {
            // Taken for the folder about to open, not read again for the one open now.
            scanOptions_.recursive = choice->includeSubfolders;
            emit scanOptionsChanged();
        }
        openFolder(choice->path);
    });
}

std::string WindowItems::shownFolder(const FileItem& item) const {
    if (folder_ && !looseFiles_) {
        if (auto relative = Paths::relative(*folder_, item.directory)) {
            return std::move(*relative);
        }
    }
    return item.directory;
}

// Each read runs on a thread of its own; only the newest is taken, and only
// while the items exist (the watcher is their child). One overtaken is told
// to stop and left to end whenever it does; nothing waits for it.
void WindowItems::load(std::function<Loaded(const ScanControl&)> job, bool stoppable) {
    const std::uint64_t generation = ++loadGeneration_;
    loadStop_.request_stop();
    loadStop_ = std::stop_source();
    loadStoppable_ = stoppable;
    loadRelay_ = std::make_shared<Relay>();
    ScanControl control{loadStop_.get_token(), [relay = loadRelay_](const ScanProgress& progress) {
                            relay->items.store(progress.items, std::memory_order_relaxed);
                            relay->folders.store(progress.folders, std::memory_order_relaxed);
                        }};
    loadProgress_ = {};
    setStoppedAfter(std::nullopt);
    progressTimer_.start();
    if (!loading_) {
        loading_ = true;
        emit loadingChanged();
    }
    emit loadProgressChanged();
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation == loadGeneration_) {
            finishLoad(watcher->result());
        }
    });
    watcher->setFuture(WorkerPools::runAlone<Loaded>(
        [job = std::move(job), control = std::move(control)] { return job(control); }));
}

void WindowItems::publishProgress() {
    if (!loadRelay_) {
        return;
    }
    const ScanProgress now{loadRelay_->items.load(std::memory_order_relaxed),
                           loadRelay_->folders.load(std::memory_order_relaxed)};
    if (now != loadProgress_) {
        loadProgress_ = now;
        emit loadProgressChanged();
    }
}

std::string WindowItems::loadProgressText() const {
    return Localizer::counted("%lld item read so far", "%lld items read so far", loadProgress_.items);
}

bool WindowItems::canStopLoading() const {
    return loading_ && loadStoppable_ && !loadStop_.stop_requested();
}

void WindowItems::stopLoading() {
    if (canStopLoading()) {
        loadStop_.request_stop();
        emit loadProgressChanged(); // it can no longer be stopped
    }
}

void WindowItems::setStoppedAfter(std::optional<std::size_t> count) {
    if (count != stoppedAfter_) {
        stoppedAfter_ = count;
        emit loadNoticeChanged();
    }
}

std::optional<std::string> WindowItems::loadNotice() const {
    if (!stoppedAfter_) {
        return std::nullopt;
    }
    return Localizer::counted("Reading was stopped after %lld item: the rest of the folder is not listed.",
                              "Reading was stopped after %lld items: the rest of the folder is not listed.",
                              *stoppedAfter_);
}

void WindowItems::dismissLoadNotice() {
    setStoppedAfter(std::nullopt);
}

void WindowItems::finishLoad(Loaded loaded) {
    progressTimer_.stop();
    loadRelay_.reset();
    isComplete_ = loaded.isComplete;
    if (!loaded.isComplete) {
        setStoppedAfter(loaded.items->size());
    }
    replaceItems(std::move(loaded.items));
    if (loaded.selectedBefore == selectedID_ && loaded.order == order_) {
        setSelectedID(std::move(loaded.selection));
    } else {
        reselect(selectedID_);
    }
    if (loadError_ != loaded.error) {
        loadError_ = std::move(loaded.error);
        emit loadErrorChanged();
    }
    setUnreadableNames(loaded.unreadableNames);
    loading_ = false;
    emit loadingChanged();
}

void WindowItems::setItems(ItemList items) {
    gate_.pass([&] { replaceItems(std::make_shared<const ItemList>(std::move(items))); });
}

void WindowItems::replaceItems(std::shared_ptr<const ItemList> items) {
    items_ = std::move(items);
    ++itemsVersion_;
    emit itemsChanged();
    if (looseFiles_) {
        emit titleChanged(); // the subtitle counts them
    }
}

void WindowItems::setScanOptions(const ScanOptions& options) {
    gate_.pass([&] {
        scanOptions_ = options;
        emit scanOptionsChanged();
        rescan();
    });
}

void WindowItems::setUnchecked(IdSet unchecked) {
    gate_.pass([&] { replaceUnchecked(std::move(unchecked)); });
}

void WindowItems::replaceUnchecked(IdSet unchecked) {
    unchecked_ = std::make_shared<const IdSet>(std::move(unchecked));
    ++uncheckedVersion_;
    emit uncheckedChanged();
}

void WindowItems::setChecked(const std::string& id, bool checked) {
    gate_.pass([&] {
        IdSet unchecked = *unchecked_;
        if (checked) {
            unchecked.erase(id);
        } else {
            unchecked.insert(id);
        }
        replaceUnchecked(std::move(unchecked));
    });
}

void WindowItems::uncheck(const IdSet& ids) {
    gate_.pass([&] {
        IdSet unchecked = *unchecked_;
        unchecked.insert(ids.begin(), ids.end());
        replaceUnchecked(std::move(unchecked));
    });
}

void WindowItems::setSearchText(std::string text) {
    searchText_ = std::move(text);
    emit searchTextChanged();
}

void WindowItems::setOrder(const ItemOrder& order) {
    order_ = order;
    emit sortChanged();
}

void WindowItems::setSelectedID(std::optional<std::string> id) {
    if (id != selectedID_) {
        selectedID_ = std::move(id);
        emit selectionChanged();
    }
}

void WindowItems::reselect(const std::optional<std::string>& preferred) {
    setSelectedID(selectionAfterLoad(*items_, order_, preferred));
}

void WindowItems::followBatch(const RenameTransaction& transaction, BatchDirection direction,
                              std::shared_ptr<const ItemList> worked,
                              const std::shared_ptr<const ItemList>& basedOn) {
    const std::optional<std::string> selected =
        selectedID_ ? std::optional(idAfter(*selectedID_, transaction, direction)) : std::nullopt;
    if (looseFiles_) {
        // Worked out on the batch's thread, unless other items arrived meanwhile.
        const bool current = worked && basedOn == items_;
        replaceItems(current ? std::move(worked)
                             : std::make_shared<const ItemList>(itemsAfter(*items_, transaction, direction)));
        reselect(selected);
    } else {
        setSelectedID(selected);
        rescan();
    }
    // Only a change: otherwise the old items would be planned once more, in
    // vain, while the folder is read again.
    if (!unchecked_->empty()) {
        replaceUnchecked({});
    }
    emit batchFollowed();
}

void WindowItems::setUnreadableNames(std::size_t count) {
    if (count != unreadableNames_) {
        unreadableNames_ = count;
        emit unreadableNamesChanged();
    }
}

std::optional<std::string> WindowItems::unreadableNamesNotice() const {
    if (unreadableNames_ == 0 || unreadableNamesDismissed_) {
        return std::nullopt;
    }
    // The engine's text, as the command line says it.
    return ScanResult{{}, unreadableNames_}.unreadableNamesMessage(Localizer::number(unreadableNames_));
}

void WindowItems::dismissUnreadableNamesNotice() {
    if (!std::exchange(unreadableNamesDismissed_, true) && unreadableNames_ > 0) {
        emit unreadableNamesChanged();
    }
}

RowStatus WindowItems::status(const RenamePlan::Entry& entry, std::span<const ItemNote> notes) const {
    return rowStatus(entry, unchecked_->contains(entry.item.id), notes);
}

EmptyState WindowItems::emptyState() const {
    return {Localizer::text("Drop files or folders here"),
            Localizer::text("Morvane previews every new name before anything changes on disk."),
            Localizer::text("Open Folder\u2026"), loadError_};
}

std::string WindowItems::title() const {
    if (folder_) {
        const std::string name = Paths::lastComponent(*folder_);
        return name.empty() ? std::string("/") : name;
    }
    if (looseFiles_) {
        return Localizer::text("Selected Items");
    }
    return "Morvane";
}

std::string WindowItems::subtitle() const {
    if (folder_) {
        return abbreviatingHome(*folder_, homeFolder_);
    }
    if (looseFiles_) {
        return Localizer::counted("%lld item", "%lld items", items_->size());
    }
    return {};
}

} // namespace morvane::app
