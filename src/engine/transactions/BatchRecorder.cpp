#include "engine/transactions/BatchRecorder.h"

#include <algorithm>

namespace morvane {

std::string BatchRecorder::aheadPathOf(const std::string& journalPath) {
    return journalPath + ".ahead";
}

BatchRecorder::BatchRecorder(HistoryStore history, BatchJournal::Kind kind,
                             const RenameTransaction& transaction, Date started)
    : history_(std::move(history)), kind_(kind), transaction_(transaction), started_(started) {}

void BatchRecorder::begin(const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                          std::span<const std::size_t> operations,
                          std::span<const std::optional<FileIdentity>> identities) {
    try {
        BatchJournal::Header header;
        header.kind = kind_;
        header.batch = transaction_.id;
        header.batchDate = transaction_.date;
        header.started = started_;
        header.directory = transaction_.directory;
        header.presetName = transaction_.presetName;
        journal_.emplace(BatchJournal::create(history_.journalPath(kind_, transaction_.id, transaction_.date),
                                              header, transaction_, renames, order, operations, identities));
        TransactionJsonWriter::Expectation expectation;
        if (kind_ == BatchJournal::Kind::rename) {
            expectation.isCompleted = true;
        } else {
            putBack_.assign(operations.begin(), operations.end());
            std::sort(putBack_.begin(), putBack_.end());
            expectation.putBack = putBack_;
        }
        ahead_ = std::make_unique<RecordAhead>(history_.pathOf(transaction_), aheadPathOf(journal_->path()),
                                               transaction_, expectation);
    } catch (...) {
        beginError_ = std::current_exception();
        if (journal_) { // nothing has moved: the record has nothing to keep
            try {
                journal_->remove();
            } catch (...) {
                journal_->markOver();
            }
            journal_.reset();
        }
        throw;
    }
}

void BatchRecorder::moving(std::uint32_t rename, Place from, Place to) noexcept {
    journal_->moving(rename, from, to);
}

void BatchRecorder::at(std::uint32_t rename, Place place) noexcept {
    journal_->at(rename, place);
}

bool BatchRecorder::endedAsExpected(const RenameTransaction& result) const {
    if (kind_ == BatchJournal::Kind::rename) {
        return result.outcome == RenameTransaction::Outcome::completed && !result.failure;
    }
    return std::all_of(putBack_.begin(), putBack_.end(),
                       [&](std::size_t index) { return result.operations[index].isReverted; });
}

bool BatchRecorder::anyParked() const {
    for (std::uint32_t rename = 0; rename < journal_->header().renameCount; ++rename) {
        if (journal_->place(rename) == Place::temporary) {
            return true;
        }
    }
    return false;
}

std::exception_ptr BatchRecorder::finish(const RenameTransaction& result, bool record) {
    if (!journal_) {
        return nullptr; // nothing was moved
    }
    std::exception_ptr error;
    if (record) {
        bool saved = false;
        if (ahead_ && endedAsExpected(result)) {
            try {
                ahead_->commit();
                saved = true;
            } catch (...) {
                // Written the ordinary way below.
            }
        }
        ahead_.reset();
        try {
            if (!saved) {
                history_.save(result);
            }
        } catch (...) {
            error = std::current_exception();
        }
    }
    ahead_.reset(); // throws away what was not put in place
    if ((record && error) || (!record && anyParked())) {
        journal_->markOver();
    } else {
        try {
            journal_->remove();
        } catch (...) {
            journal_->markOver(); // still ended, whatever the folder allows
        }
    }
    journal_.reset();
    return error;
}

} // namespace morvane
