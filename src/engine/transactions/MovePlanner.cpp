#include "engine/transactions/MovePlanner.h"

#include "engine/filesystem/VolumeNameKey.h"
#include "engine/support/Paths.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace morvane {
namespace {

// One rename of a folder not yet placed. `from` is its current name, which is
// the temporary one once the item has been parked.
struct Pending {
    std::size_t operation;
    std::string from;
    std::string to;
    std::string fromKey;
    std::string toKey;
    bool parked = false;
    bool placed = false;
};

// The order of one folder's moves is fixed: always the first pending item (in
// request order) whose target no other pending item holds, else park the first
// unparked one. Searching the list for it each time is quadratic; instead the
// free items are kept in an ordered set, and when an item releases a name only
// the items waiting for that name are looked at again.
class FolderPlan {
public:
    FolderPlan(const std::string& directory, bool caseSensitive,
               const std::function<std::string()>& temporaryName, std::vector<MoveStep>& steps)
        : directory_(directory), caseSensitive_(caseSensitive), temporaryName_(temporaryName), steps_(steps) {
    }

    void run(std::vector<Pending> pending) {
        items_ = std::move(pending);
        parkCaseOnlyRenames();
        for (std::size_t i = 0; i < items_.size(); ++i) {
            ++holders_[items_[i].fromKey];
            waiters_[items_[i].toKey].push_back(i);
        }
        for (std::size_t i = 0; i < items_.size(); ++i) {
            reconsider(i);
        }
        for (std::size_t remaining = items_.size(); remaining > 0;) {
            if (!free_.empty()) {
                place(*free_.begin());
                --remaining;
            } else if (!parkFirstUnparked()) {
                // Only when temporary names collide: let the file system refuse.
                for (Pending& item : items_) {
                    if (!item.placed) {
                        emit(item, item.to, false);
                    }
                }
                break;
            }
        }
    }

private:
    std::string keyOf(const std::string& name) const { return volumeNameKey(name, caseSensitive_); }

    void emit(Pending& item, const std::string& to, bool isTemporary) {
        steps_.push_back(MoveStep{directory_, item.from, to, item.operation, isTemporary});
    }

    // A name that only changes letter case (or composition) is taken by the
    // item itself on a case-insensitive volume, so it moves away first.
    void parkCaseOnlyRenames() {
        if (caseSensitive_) {
            return;
        }
        for (Pending& item : items_) {
            if (!unicode::canonicallyEqual(item.from, item.to) && item.fromKey == item.toKey) {
                const std::string temporary = temporaryName_();
                emit(item, temporary, true);
                item.from = temporary;
                item.fromKey = keyOf(temporary);
                item.parked = true;
            }
        }
    }

    bool isFree(std::size_t index) const {
        const Pending& item = items_[index];
        const auto found = holders_.find(item.toKey);
        const std::size_t holding = found == holders_.end() ? 0 : found->second;
        return holding == (item.fromKey == item.toKey ? 1 : 0);
    }

    void reconsider(std::size_t index) {
        if (items_[index].placed) {
            return;
        }
        if (isFree(index)) {
            free_.insert(index);
        } else {
            free_.erase(index);
        }
    }

    void reconsiderWaitersOf(const std::string& key) {
        const auto found = waiters_.find(key);
        if (found != waiters_.end()) {
            for (const std::size_t index : found->second) {
                reconsider(index);
            }
        }
    }

    void place(std::size_t index) {
        Pending& item = items_[index];
        free_.erase(index);
        item.placed = true;
        emit(item, item.to, false);
        --holders_[item.fromKey];
        reconsiderWaitersOf(item.fromKey);
    }

    bool parkFirstUnparked() {
        while (cursor_ < items_.size() && (items_[cursor_].placed || items_[cursor_].parked)) {
            ++cursor_;
        }
        if (cursor_ == items_.size()) {
            return false;
        }
        Pending& item = items_[cursor_];
        const std::string temporary = temporaryName_();
        emit(item, temporary, true);
        const std::string released = item.fromKey;
        item.from = temporary;
        item.fromKey = keyOf(temporary);
        item.parked = true;
        --holders_[released];
        ++holders_[item.fromKey];
        reconsiderWaitersOf(released);
        reconsiderWaitersOf(item.fromKey);
        reconsider(cursor_);
        return true;
    }

    const std::string& directory_;
    const bool caseSensitive_;
    const std::function<std::string()>& temporaryName_;
    std::vector<MoveStep>& steps_;
    std::vector<Pending> items_;
    std::unordered_map<std::string, std::size_t> holders_; // name key -> pending items holding it
    std::unordered_map<std::string, std::vector<std::size_t>> waiters_; // name key -> items that want it
    std::set<std::size_t> free_;                                        // items whose target is free
    std::size_t cursor_ = 0; // items before it are all placed or parked
};

} // namespace

std::vector<MoveStep> MovePlanner::plan(const std::vector<PlannedRename>& renames) const {
    std::vector<std::pair<std::string, std::vector<std::size_t>>> folders;
    std::unordered_map<std::string, std::size_t> folderIndex;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const auto [found, isNew] = folderIndex.try_emplace(renames[i].directory, folders.size());
        if (isNew) {
            folders.emplace_back(renames[i].directory, std::vector<std::size_t>{});
        }
        folders[found->second].second.push_back(i);
    }
    std::stable_sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
        return Paths::componentCount(a.first) > Paths::componentCount(b.first);
    });
    std::vector<MoveStep> steps;
    steps.reserve(renames.size());
    for (const auto& [directory, indices] : folders) {
        auto folderSteps = planDirectory(directory, indices, renames);
        steps.insert(steps.end(), std::make_move_iterator(folderSteps.begin()),
                     std::make_move_iterator(folderSteps.end()));
    }
    return steps;
}

std::vector<MoveStep> MovePlanner::planDirectory(const std::string& directory,
                                                 const std::vector<std::size_t>& indices,
                                                 const std::vector<PlannedRename>& renames) const {
    const bool caseSensitive = isCaseSensitive(directory);
    std::vector<Pending> pending;
    pending.reserve(indices.size());
    for (const std::size_t index : indices) {
        const PlannedRename& rename = renames[index];
        pending.push_back(Pending{index, rename.from, rename.to, volumeNameKey(rename.from, caseSensitive),
                                  volumeNameKey(rename.to, caseSensitive)});
    }
    std::vector<MoveStep> steps;
    steps.reserve(indices.size());
    FolderPlan(directory, caseSensitive, temporaryName, steps).run(std::move(pending));
    return steps;
}

} // namespace morvane
