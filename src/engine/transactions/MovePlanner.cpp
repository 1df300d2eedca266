#include "engine/transactions/MovePlanner.h"

#include "engine/support/Paths.h"
#include "engine/support/Unicode.h"
#include "engine/transactions/FolderNameKeys.h"
#include "engine/transactions/LowestIndexSet.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <span>
#include <string_view>
#include <unordered_map>

namespace morvane {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
using Rename = MovePlanner::RenameRef;

// One rename of a folder. Indices are 32-bit: a batch of four billion renames
// would not fit in memory in the first place.
struct Item {
    std::uint32_t rename;             // index of its rename
    std::uint32_t fromKey;            // number of its current name's key: the temporary one once parked
    std::uint32_t toKey;              // number of its target's key
    std::uint32_t nextWaiter = kNone; // the next item waiting for the same key
    std::uint32_t temporary = kNone;  // its temporary name, once parked
    bool placed = false;

    bool isParked() const { return temporary != kNone; }
};

// A move of the plan, before the steps' strings are made.
struct Step {
    std::uint32_t item;
    bool isTemporary;
};

// The order of one folder's moves is fixed: always the first pending item (in
// request order) whose target no other pending item holds, else park the first
// unparked one. Searching the list for it each time is quadratic; instead the
// free items are kept in an ordered set, and when an item releases a name only
// the items waiting for that name are looked at again. Names are numbered once
// and everything known about them lives in arrays indexed by those numbers;
// the object is reused from folder to folder so that its arrays are too.
class FolderPlan {
public:
    explicit FolderPlan(const std::function<std::string()>& temporaryName) : temporaryName_(temporaryName) {}

    void order(const std::vector<Rename>& renames, std::span<const std::uint32_t> indices,
               bool caseSensitive) {
        items_.clear();
        steps_.clear();
        temporaries_.clear();
        holders_.clear();
        firstWaiter_.clear();
        cursor_ = 0;
        keys_.reset(caseSensitive, indices.size() * 2);
        items_.reserve(indices.size());
        holders_.reserve(indices.size() * 2);
        firstWaiter_.reserve(indices.size() * 2);
        for (const std::uint32_t index : indices) {
            const Rename& rename = renames[index];
            items_.push_back(Item{index, numberOf(rename.from), numberOf(rename.to)});
        }
        if (!caseSensitive) {
            parkCaseOnlyRenames(renames);
        }
        for (std::uint32_t i = 0; i < items_.size(); ++i) {
            Item& item = items_[i];
            ++holders_[item.fromKey];
            item.nextWaiter = firstWaiter_[item.toKey];
            firstWaiter_[item.toKey] = i;
        }
        free_.reset(items_.size());
        for (std::uint32_t i = 0; i < items_.size(); ++i) {
            reconsider(i);
        }
        for (std::size_t remaining = items_.size(); remaining > 0;) {
            if (!free_.empty()) {
                place(static_cast<std::uint32_t>(free_.lowest()));
                --remaining;
            } else if (!parkFirstUnparked()) {
                // Only when temporary names collide: let the file system refuse.
                for (std::uint32_t i = 0; i < items_.size(); ++i) {
                    if (!items_[i].placed) {
                        steps_.push_back(Step{i, false});
                    }
                }
                break;
            }
        }
    }

    // Appends the ordered moves, and hands the temporary names over.
    void appendTo(MoveOrder& result) {
        for (const Item& item : items_) {
            if (item.isParked()) {
                result.temporaryOf[item.rename] = static_cast<std::uint32_t>(result.temporaryNames.size());
                result.temporaryNames.push_back(std::move(temporaries_[item.temporary]));
            }
        }
        for (const Step& step : steps_) {
            result.moves.push_back(MoveOrder::Move{items_[step.item].rename, step.isTemporary});
        }
    }

private:
    std::uint32_t numberOf(std::string_view name) {
        const std::uint32_t number = keys_.number(name);
        if (number == holders_.size()) {
            holders_.push_back(0);
            firstWaiter_.push_back(kNone);
        }
        return number;
    }

    // Moves the item to a new temporary name; returns the key it had.
    std::uint32_t park(std::uint32_t index) {
        temporaries_.push_back(temporaryName_());
        const std::uint32_t released = items_[index].fromKey;
        const std::uint32_t parkedKey = numberOf(temporaries_.back());
        Item& item = items_[index];
        item.temporary = static_cast<std::uint32_t>(temporaries_.size() - 1);
        item.fromKey = parkedKey;
        steps_.push_back(Step{index, true});
        return released;
    }

    // A name that only changes letter case (or composition) is taken by the
    // item itself on a case-insensitive volume, so it moves away first.
    void parkCaseOnlyRenames(const std::vector<Rename>& renames) {
        for (std::uint32_t i = 0; i < items_.size(); ++i) {
            const Rename& rename = renames[items_[i].rename];
            if (items_[i].fromKey == items_[i].toKey && !unicode::canonicallyEqual(rename.from, rename.to)) {
                park(i);
            }
        }
    }

    bool isFree(const Item& item) const {
        return holders_[item.toKey] == (item.fromKey == item.toKey ? 1u : 0u);
    }

    void reconsider(std::uint32_t index) {
        const Item& item = items_[index];
        if (item.placed) {
            return;
        }
        if (isFree(item)) {
            free_.insert(index);
        } else {
            free_.erase(index);
        }
    }

    void reconsiderWaitersOf(std::uint32_t key) {
        for (std::uint32_t index = firstWaiter_[key]; index != kNone; index = items_[index].nextWaiter) {
            reconsider(index);
        }
    }

    void place(std::uint32_t index) {
        Item& item = items_[index];
        free_.erase(index);
        item.placed = true;
        steps_.push_back(Step{index, false});
        --holders_[item.fromKey];
        reconsiderWaitersOf(item.fromKey);
    }

    bool parkFirstUnparked() {
        while (cursor_ < items_.size() && (items_[cursor_].placed || items_[cursor_].isParked())) {
            ++cursor_;
        }
        if (cursor_ == items_.size()) {
            return false;
        }
        const std::uint32_t released = park(cursor_);
        const std::uint32_t parkedKey = items_[cursor_].fromKey;
        --holders_[released];
        ++holders_[parkedKey];
        reconsiderWaitersOf(released);
        reconsiderWaitersOf(parkedKey);
        reconsider(cursor_);
        return true;
    }

    const std::function<std::string()>& temporaryName_;
    FolderNameKeys keys_;
    std::vector<Item> items_;
    std::vector<Step> steps_;
    std::deque<std::string> temporaries_;    // a deque: keys may refer to their characters
    std::vector<std::uint32_t> holders_;     // by key: pending items holding it
    std::vector<std::uint32_t> firstWaiter_; // by key: an item that wants it, the head of a list
    LowestIndexSet free_;                    // items whose target is free
    std::uint32_t cursor_ = 0;               // items before it are all placed or parked
};

MoveOrder orderAll(const MovePlanner& planner, const std::vector<Rename>& renames) {
    // Each rename's folder, numbered in order of first appearance. A batch
    // usually lists a folder's renames together, so the previous one's folder
    // is tried before the map.
    std::vector<std::uint32_t> folderOf(renames.size());
    std::vector<std::uint32_t> firstOfFolder;
    std::unordered_map<std::string_view, std::uint32_t> folderNumbers;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        if (i > 0 && renames[i].directory == renames[i - 1].directory) {
            folderOf[i] = folderOf[i - 1];
            continue;
        }
        const auto folders = static_cast<std::uint32_t>(firstOfFolder.size());
        const auto [found, isNew] = folderNumbers.try_emplace(renames[i].directory, folders);
        if (isNew) {
            firstOfFolder.push_back(static_cast<std::uint32_t>(i));
        }
        folderOf[i] = found->second;
    }

    // Each folder's renames in request order, one folder after another.
    const std::size_t folderCount = firstOfFolder.size();
    std::vector<std::uint32_t> start(folderCount + 1, 0);
    for (const std::uint32_t folder : folderOf) {
        ++start[folder + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::uint32_t> members(renames.size());
    std::vector<std::uint32_t> filled(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < renames.size(); ++i) {
        members[filled[folderOf[i]]++] = static_cast<std::uint32_t>(i);
    }

    std::vector<std::size_t> depth(folderCount);
    for (std::size_t folder = 0; folder < folderCount; ++folder) {
        depth[folder] = Paths::componentCount(renames[firstOfFolder[folder]].directory);
    }
    std::vector<std::uint32_t> folderOrder(folderCount);
    std::iota(folderOrder.begin(), folderOrder.end(), 0u);
    std::stable_sort(folderOrder.begin(), folderOrder.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return depth[a] > depth[b]; });

    MoveOrder result;
    result.moves.reserve(renames.size()); // more only where temporary names are needed
    result.temporaryOf.assign(renames.size(), MoveOrder::kNone);
    FolderPlan folderPlan(planner.temporaryName);
    for (const std::uint32_t folder : folderOrder) {
        const std::span<const std::uint32_t> indices(members.data() + start[folder],
                                                     start[folder + 1] - start[folder]);
        const bool caseSensitive =
            planner.isCaseSensitive(std::string(renames[firstOfFolder[folder]].directory));
        folderPlan.order(renames, indices, caseSensitive);
        folderPlan.appendTo(result);
    }
    return result;
}

} // namespace

std::vector<MoveStep> MovePlanner::plan(const std::vector<PlannedRename>& renames) const {
    std::vector<Rename> refs;
    refs.reserve(renames.size());
    for (const PlannedRename& rename : renames) {
        refs.push_back(Rename{rename.directory, rename.from, rename.to});
    }
    const MoveOrder planned = order(refs);
    std::vector<MoveStep> steps;
    steps.reserve(planned.moves.size());
    for (const MoveOrder::Move& move : planned.moves) {
        const PlannedRename& rename = renames[move.rename];
        steps.push_back(MoveStep{rename.directory, std::string(planned.from(move, rename.from)),
                                 std::string(planned.to(move, rename.to)), move.rename, move.isTemporary});
    }
    return steps;
}

MoveOrder MovePlanner::order(const std::vector<RenameRef>& renames) const {
    return orderAll(*this, renames);
}

} // namespace morvane
