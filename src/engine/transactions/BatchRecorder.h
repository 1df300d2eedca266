#pragma once

#include "engine/transactions/BatchJournal.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/MoveJournal.h"
#include "engine/transactions/RecordAhead.h"

#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace morvane {

// Keeps a running batch, or an undo of one, recoverable and records it when
// it ends: its write-ahead record before the first move, its history record
// written ahead on a thread of its own while the moves run, and at the end
// the one put in place of the other. `transaction` is the batch's own (for
// an undo, the batch as recorded before the undo); it must outlive this
// object, and the executor changes nothing of it meanwhile but the states of
// a rename.
class BatchRecorder : public MoveJournal {
public:
    BatchRecorder(HistoryStore history, BatchJournal::Kind kind, const RenameTransaction& transaction,
                  Date started);

    void begin(const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
               std::span<const std::size_t> operations,
               std::span<const std::optional<FileIdentity>> identities) override;
    void moving(std::uint32_t rename, Place from, Place to) noexcept override;
    void at(std::uint32_t rename, Place place) noexcept override;

    // Why the write-ahead record could not be made, if it could not.
    std::exception_ptr beginError() const { return beginError_; }

    // The batch has ended as `result` says (a rename's transaction, or the
    // batch as the undo left it): writes its history record when `record`,
    // and retires the write-ahead record. That stays, marked as ended, where
    // it still has work to do: when the history record could not be written,
    // or when an item was left under a temporary name and nothing records
    // it. Returns the error of writing the record, if any.
    std::exception_ptr finish(const RenameTransaction& result, bool record);

    // Where the history record is written ahead for the batch of a
    // write-ahead record: left behind by a crash, it is the recovery's to remove.
    static std::string aheadPathOf(const std::string& journalPath);

private:
    bool endedAsExpected(const RenameTransaction& result) const;
    bool anyParked() const;

    HistoryStore history_;
    BatchJournal::Kind kind_;
    const RenameTransaction& transaction_;
    Date started_;
    std::optional<BatchJournal> journal_;
    std::vector<std::size_t> putBack_; // an undo's: the operations it moves, ascending
    std::unique_ptr<RecordAhead> ahead_;
    std::exception_ptr beginError_;
};

} // namespace morvane
