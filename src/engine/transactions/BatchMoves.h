#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/FolderMoves.h"
#include "engine/transactions/MoveJournal.h"
#include "engine/transactions/MoveOrder.h"
#include "engine/transactions/MovePlanner.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The moves of a planned batch, made forwards, back or between any two of an
// item's places, each announced to the journal (if there is one) before it is
// made and confirmed after, so that a crash at any point leaves a record of
// where every item is.
class BatchMoves {
public:
    using Place = MoveJournal::Place;

    BatchMoves(FileSystem& fileSystem, const std::vector<MovePlanner::RenameRef>& renames,
               const MoveOrder& order, MoveJournal* journal)
        : moves_(fileSystem), renames_(renames), order_(order), journal_(journal) {}

    // Where a move of the order takes its item from, and to.
    Place before(const MoveOrder::Move& move) const {
        return move.isTemporary || order_.temporaryName(move.rename) == nullptr ? Place::original
                                                                                : Place::temporary;
    }
    static Place after(const MoveOrder::Move& move) {
        return move.isTemporary ? Place::temporary : Place::target;
    }
    std::string_view nameAt(std::uint32_t rename, Place place) const {
        switch (place) {
        case Place::original:
            return renames_[rename].from;
        case Place::temporary:
            return *order_.temporaryName(rename);
        case Place::target:
            return renames_[rename].to;
        }
        return {};
    }

    // The error's message when the move failed.
    std::optional<std::string> between(std::uint32_t rename, Place from, Place to) {
        if (journal_ != nullptr) {
            journal_->moving(rename, from, to);
        }
        auto error = moves_.move(renames_[rename].directory, nameAt(rename, from), nameAt(rename, to));
        if (journal_ != nullptr) {
            journal_->at(rename, error ? from : to);
        }
        return error;
    }
    std::optional<std::string> forward(const MoveOrder::Move& move) {
        return between(move.rename, before(move), after(move));
    }
    std::optional<std::string> back(const MoveOrder::Move& move) {
        return between(move.rename, after(move), before(move));
    }

private:
    FolderMoves moves_;
    const std::vector<MovePlanner::RenameRef>& renames_;
    const MoveOrder& order_;
    MoveJournal* journal_;
};

} // namespace morvane
