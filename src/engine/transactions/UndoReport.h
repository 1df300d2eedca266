#pragma once

#include "engine/transactions/RenameTransaction.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// What an undo did (or, for a dry run, would do) with each operation it considered.
struct UndoReport {
    enum class Reason {
        missing,        // nothing is at the item's renamed path any more
        targetOccupied, // something else now holds the item's old name
    };

    struct Status {
        // `notRun`: ready to be put back, but the undo was stopped first.
        enum class Kind { changedSince, failed, reverted, notRun };

        Kind kind = Kind::reverted;
        Reason reason = Reason::missing; // changedSince only
        std::string message;             // failed only

        static Status changedSince(Reason reason) { return {Kind::changedSince, reason, {}}; }
        static Status failed(std::string message) {
            return {Kind::failed, Reason::missing, std::move(message)};
        }
        static Status reverted() { return {}; }
        static Status notRun() { return {Kind::notRun, Reason::missing, {}}; }

        bool operator==(const Status&) const = default;
    };

    // With `isReverted` set on every operation that was put back.
    RenameTransaction transaction;
    // By index in `transaction.operations`.
    std::map<std::size_t, Status> statuses;
    // For each operation with a status: the folder its item was looked for
    // in, which is where it was when the undo began. It differs from the
    // recorded folder when a folder above it was renamed in the same batch.
    std::map<std::size_t, std::string> folders;

    std::size_t revertedCount() const;
    std::size_t skippedCount() const;
    std::size_t count(Status::Kind kind) const;
    bool isPartial() const;

    bool operator==(const UndoReport&) const = default;
};

std::string_view rawValue(UndoReport::Reason reason);
std::optional<UndoReport::Reason> undoReasonFromRawValue(std::string_view raw);

} // namespace morvane
