#pragma once

#include "app/model/BatchMessages.h"
#include "app/model/EditGate.h"
#include "app/model/FolderAccess.h"
#include "app/model/Preview.h"
#include "app/model/Row.h"
#include "app/model/WindowTexts.h"
#include "engine/core/ItemOrder.h"
#include "engine/filesystem/ScanControl.h"
#include "engine/filesystem/ScanOptions.h"

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

namespace morvane::app {

using SortField = ItemOrder::Field;

// The items of one window: where they come from (a folder, or files and
// folders dropped together), loading them, and the user's choices over them:
// the unchecked set, the search text, the order and the selected item.
// Folders are read on threads of their own, so that a listing that never
// comes back (a disk gone away) keeps no other folder waiting; only the
// newest read is taken, and the ones it overtakes are told to stop. A long
// read shows how far it has come and can be stopped: the items read until
// then are kept, and a notice says the list is incomplete. Main thread only.
class WindowItems : public QObject {
    Q_OBJECT

public:
    // `homeFolder` is written "~" in the subtitle.
    WindowItems(std::shared_ptr<FolderAccess> access, std::string homeFolder, EditGate& gate,
                QObject* parent = nullptr);

    const FolderAccess& access() const { return *access_; }
    const std::optional<std::string>& folder() const { return folder_; }
    bool looseFiles() const { return looseFiles_; }

    // The items in load order, and the same as a snapshot that stays as it
    // is whatever happens to the items afterwards, with its version.
    const ItemList& list() const { return *items_; }
    const std::shared_ptr<const ItemList>& snapshot() const { return items_; }
    std::uint64_t version() const { return itemsVersion_; }
    // Replaces the items as they are (a test, or a tool).
    void setItems(ItemList items);
    bool loading() const { return loading_; }
    // How far the folder being read has come, a few times a second.
    const ScanProgress& loadProgress() const { return loadProgress_; }
    // "%lld items read so far".
    std::string loadProgressText() const;
    // A folder being read can be stopped, once.
    bool canStopLoading() const;
    // Ends the read with the items read so far.
    void stopLoading();
    // False after a read was stopped: the items are only part of the folder.
    bool isComplete() const { return isComplete_; }
    // What a stopped read left out, until the next read or a dismissal.
    std::optional<std::string> loadNotice() const;
    void dismissLoadNotice();
    // How the scan reads folders; a change reads the folder again.
    const ScanOptions& scanOptions() const { return scanOptions_; }
    void setScanOptions(const ScanOptions& options);
    const std::optional<std::string>& loadError() const { return loadError_; }
    // Entries of the folder left out because their names are not valid UTF-8.
    std::size_t unreadableNameCount() const { return unreadableNames_; }
    // "N items with unreadable names were left out" until dismissed (it comes
    // back with another folder that has such names); absent when none were.
    std::optional<std::string> unreadableNamesNotice() const;
    void dismissUnreadableNamesNotice();

    // Shows a folder's contents, read in the background (`loading`).
    void openFolder(const std::string& path);
    // What the user dropped or chose: one folder opens as a folder; anything
    // else shows the paths themselves.
    void open(const std::vector<std::string>& paths);
    // Reads the folder again (nothing with loose files).
    void rescan();
    // The folder picker, then `openFolder` unless it was cancelled; the
    // picker's choice of subfolders becomes the scan's.
    void chooseAndOpenFolder();
    // The Path column: an item's folder written from the opened folder (""
    // for the folder's own items), or with loose files its whole path.
    std::string shownFolder(const FileItem& item) const;

    const IdSet& unchecked() const { return *unchecked_; }
    const std::shared_ptr<const IdSet>& uncheckedSnapshot() const { return unchecked_; }
    std::uint64_t uncheckedVersion() const { return uncheckedVersion_; }
    void setUnchecked(IdSet unchecked);
    void setChecked(const std::string& id, bool checked);
    void uncheck(const IdSet& ids);
    bool isChecked(const std::string& id) const { return !unchecked_->contains(id); }
    const std::string& searchText() const { return searchText_; }
    void setSearchText(std::string text);
    SortField sortField() const { return order_.field; }
    bool sortAscending() const { return order_.ascending; }
    const ItemOrder& order() const { return order_; }
    void setOrder(const ItemOrder& order);
    const std::optional<std::string>& selectedID() const { return selectedID_; }
    void setSelectedID(std::optional<std::string> id);

    // After a batch, or its undo, went over the items: loose items take the
    // names it left them with (`worked` holds them when the batch's thread
    // worked them out from `basedOn`, the items it began with), a folder is
    // read again; the selected item stays selected under its new name, and
    // nothing is unchecked any more.
    void followBatch(const RenameTransaction& transaction, BatchDirection direction,
                     std::shared_ptr<const ItemList> worked, const std::shared_ptr<const ItemList>& basedOn);

    // The table's status of a plan entry: unchecked or hidden by the search.
    // `notes`: what rules said about it (see rowStatus).
    RowStatus status(const RenamePlan::Entry& entry, std::span<const ItemNote> notes = {}) const;
    EmptyState emptyState() const;
    // The folder's name, "Selected Items", or "Morvane" with nothing open.
    std::string title() const;
    // The folder's path, "%lld items" of loose files, or nothing.
    std::string subtitle() const;

signals:
    void folderChanged();
    void looseFilesChanged();
    // A folder or a set of files was opened (not read again): what was
    // decided about the earlier items no longer applies.
    void sourceOpened();
    // The items followed a batch, or its undo, to their new names.
    void batchFollowed();
    void itemsChanged();
    void loadingChanged();
    void loadProgressChanged();
    void loadNoticeChanged();
    void scanOptionsChanged();
    void loadErrorChanged();
    void unreadableNamesChanged();
    // Another folder, or another set of loose files, is shown.
    void sourceChanged();
    void uncheckedChanged();
    void searchTextChanged();
    void sortChanged();
    void selectionChanged();
    void titleChanged();

private:
    struct Loaded;

    struct Relay;
    // `other`: the folder or files shown before are not shown any more.
    void showSource(std::optional<std::string> folder, bool looseFiles, bool other);
    void setUnreadableNames(std::size_t count);
    // `stoppable`: a folder scan, which honours the control's stop.
    void load(std::function<Loaded(const ScanControl&)> job, bool stoppable);
    void publishProgress();
    void setStoppedAfter(std::optional<std::size_t> count);
    void finishLoad(Loaded loaded);
    void replaceItems(std::shared_ptr<const ItemList> items);
    void replaceUnchecked(IdSet unchecked);
    // The preferred item when it is there, else the first in order.
    void reselect(const std::optional<std::string>& preferred);

    std::shared_ptr<FolderAccess> access_;
    std::string homeFolder_;
    EditGate& gate_;

    std::optional<std::string> folder_;
    bool looseFiles_ = false;
    std::shared_ptr<const ItemList> items_;
    std::uint64_t itemsVersion_ = 0;
    ScanOptions scanOptions_;
    std::optional<std::string> loadError_;
    std::size_t unreadableNames_ = 0;
    bool unreadableNamesDismissed_ = false;
    bool loading_ = false;
    std::uint64_t loadGeneration_ = 0;
    std::stop_source loadStop_;
    bool loadStoppable_ = false;
    std::shared_ptr<Relay> loadRelay_;
    QTimer progressTimer_;
    ScanProgress loadProgress_;
    bool isComplete_ = true;
    std::optional<std::size_t> stoppedAfter_; // items kept by a stopped read, while its notice shows
    std::shared_ptr<const IdSet> unchecked_;
    std::uint64_t uncheckedVersion_ = 0;
    std::string searchText_;
    ItemOrder order_;
    std::optional<std::string> selectedID_;
};

} // namespace morvane::app
