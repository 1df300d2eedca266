#pragma once

#include "app/model/BatchMessages.h"
#include "app/model/EditGate.h"
#include "app/model/FolderAccess.h"
#include "app/model/Preview.h"
#include "app/model/Row.h"
#include "app/model/WindowTexts.h"
#include "engine/core/ItemOrder.h"
#include "engine/filesystem/ScanOptions.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane::app {

using SortField = ItemOrder::Field;

// The items of one window: where they come from (a folder, or files and
// folders dropped together), loading them, and the user's choices over them:
// the unchecked set, the search text, the order and the selected item.
// Folders are read on threads of their own, so that a listing that never
// comes back (a disk gone away) keeps no other folder waiting; only the
// newest read is taken. Main thread only.
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
    const ScanOptions& scanOptions() const { return scanOptions_; }
    void setScanOptions(const ScanOptions& options);
    const std::optional<std::string>& loadError() const { return loadError_; }

    // Shows a folder's contents, read in the background (`loading`).
    void openFolder(const std::string& path);
    // What the user dropped or chose: one folder opens as a folder; anything
    // else shows the paths themselves.
    void open(const std::vector<std::string>& paths);
    // Reads the folder again (nothing with loose files).
    void rescan();
    // The folder picker, then `openFolder` unless it was cancelled.
    void chooseAndOpenFolder();

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
    void itemsChanged();
    void loadingChanged();
    void scanOptionsChanged();
    void loadErrorChanged();
    void uncheckedChanged();
    void searchTextChanged();
    void sortChanged();
    void selectionChanged();
    void titleChanged();

private:
    struct Loaded;

    void showSource(std::optional<std::string> folder, bool looseFiles);
    void load(std::function<Loaded()> job);
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
    bool loading_ = false;
    std::uint64_t loadGeneration_ = 0;
    std::shared_ptr<const IdSet> unchecked_;
    std::uint64_t uncheckedVersion_ = 0;
    std::string searchText_;
    ItemOrder order_;
    std::optional<std::string> selectedID_;
};

} // namespace morvane::app
