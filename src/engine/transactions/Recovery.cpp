#include "engine/transactions/Recovery.h"

#include "engine/filesystem/LockedFile.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/transactions/BatchMoves.h"
#include "engine/transactions/BatchRecorder.h"
#include "engine/transactions/PlaceCheck.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace morvane {
namespace {

using Place = MoveJournal::Place;
using Status = RecoveryOutcome::Status;
using Operation = RenameTransaction::Operation;
using State = Operation::State;

// Tells the write-ahead record of every move recovery makes, as the batch
// told it of its own, so that a crash during recovery loses track of nothing.
class Tracker : public MoveJournal {
public:
    explicit Tracker(BatchJournal& journal) : journal_(journal) {}

    void begin(const std::vector<MovePlanner::RenameRef>&, const MoveOrder&, std::span<const std::size_t>,
               std::span<const std::optional<FileIdentity>>) override {}
    void moving(std::uint32_t rename, Place from, Place to) noexcept override {
        journal_.moving(rename, from, to);
    }
    void at(std::uint32_t rename, Place place) noexcept override { journal_.at(rename, place); }

private:
    BatchJournal& journal_;
};

UnfinishedBatch describedBy(const std::string& file, const BatchJournal::Header& header, bool hasEnded) {
    UnfinishedBatch batch;
    batch.file = file;
    batch.kind = header.kind;
    batch.batch = header.batch;
    batch.batchDate = header.batchDate;
    batch.started = header.started;
    batch.directory = header.directory;
    batch.itemCount = static_cast<std::size_t>(header.renameCount);
    batch.hasEnded = hasEnded;
    return batch;
}

std::string problemOf(const std::system_error& error) {
    return localized("it cannot be read: %@", systemErrorText(error.code().value()));
}

std::vector<MovePlanner::RenameRef> refsOf(const std::vector<BatchJournal::Rename>& renames) {
    std::vector<MovePlanner::RenameRef> refs;
    refs.reserve(renames.size());
    for (const auto& rename : renames) {
        refs.push_back({rename.directory, rename.from, rename.to});
    }
    return refs;
}

} // namespace

Recovery::Recovery(std::shared_ptr<FileSystem> fileSystem, HistoryStore history)
    : fileSystem_(std::move(fileSystem)), history_(std::move(history)) {}

bool Recovery::isRecorded(const BatchJournal& journal) const {
    const BatchJournal::Header& header = journal.header();
    if (header.kind == BatchJournal::Kind::rename) {
        std::error_code ignored;
        return std::filesystem::exists(
            Paths::join(history_.directory(), HistoryStore::fileName(header.batch, header.batchDate)),
            ignored);
    }
    // An undo is recorded in the batch's own record, which then has some of
    // the items it moved marked as put back; before, it had none of them.
    const auto undone = history_.find(header.batch, header.batchDate);
    return undone && std::any_of(journal.renames().begin(), journal.renames().end(), [&](const auto& rename) {
               return rename.operation < undone->operations.size() &&
                      undone->operations[rename.operation].isReverted;
           });
}

UnfinishedBatch Recovery::describe(const std::string& file, bool& isFinished) const {
    isFinished = false;
    UnfinishedBatch batch;
    batch.file = file;
    try {
        bool hasEnded = false;
        const BatchJournal::Header header = BatchJournal::readHeader(file, &hasEnded);
        batch = describedBy(file, header, hasEnded);
        // A record held by another process belongs to a batch running now;
        // one that is free is read whole, under its lock, to see whether
        // the batch's own record has replaced it.
        const auto journal = BatchJournal::open(file);
        batch.isInUse = !journal;
        isFinished = journal && isRecorded(*journal);
    } catch (const BatchJournal::Damaged& error) {
        // A batch of an older version, starting in another process, holds its
        // record while it writes it, and until then the record reads as cut
        // short. One that never got whole moved nothing: it is no batch, and
        // only recovery's to remove.
        if (LockedFile::isHeld(file)) {
            batch.isInUse = true;
        } else if (dynamic_cast<const BatchJournal::NeverWritten*>(&error) != nullptr) {
            isFinished = true;
        } else {
            batch.problem = error.what();
        }
    } catch (const std::system_error& error) {
        isFinished = error.code().value() == ENOENT; // ended meanwhile
        batch.problem = problemOf(error);
    }
    return batch;
}

std::vector<UnfinishedBatch> Recovery::unfinished() const {
    std::vector<UnfinishedBatch> batches;
    for (const std::string& file : history_.journalPaths()) {
        bool isFinished = false;
        UnfinishedBatch batch = describe(file, isFinished);
        if (!isFinished) {
            batches.push_back(std::move(batch));
        }
    }
    std::stable_sort(batches.begin(), batches.end(), [](const UnfinishedBatch& a, const UnfinishedBatch& b) {
        return a.started > b.started;
    });
    return batches;
}

std::vector<RecoveryOutcome> Recovery::recoverAll(const BatchControl& control) const {
    std::vector<RecoveryOutcome> outcomes;
    // Records whose process ended before they were published: nothing moved.
    for (const std::string& draft : LockedFile::removeAbandonedDrafts(history_.directory())) {
        RecoveryOutcome outcome;
        outcome.status = Status::neverStarted;
        outcome.batch.file = draft;
        outcomes.push_back(std::move(outcome));
    }
    std::vector<UnfinishedBatch> batches;
    for (const std::string& file : history_.journalPaths()) {
        bool isFinished = false;
        batches.push_back(describe(file, isFinished));
    }
    std::stable_sort(batches.begin(), batches.end(), [](const UnfinishedBatch& a, const UnfinishedBatch& b) {
        return a.started > b.started;
    });
    for (const UnfinishedBatch& batch : batches) {
        outcomes.push_back(recover(batch, control));
    }
    return outcomes;
}

RecoveryOutcome Recovery::recover(const UnfinishedBatch& batch, const BatchControl& control) const {
    RecoveryOutcome outcome;
    outcome.batch = batch;
    std::optional<BatchJournal> journal;
    try {
        journal = BatchJournal::open(batch.file);
    } catch (const BatchJournal::NeverWritten&) {
        // Held meanwhile by a batch of an older version that is writing it.
        const bool removed = LockedFile::removeUnlessHeld(batch.file);
        outcome.status = removed ? Status::neverStarted : Status::inUse;
        outcome.batch.isInUse = !removed;
        return outcome;
    } catch (const BatchJournal::Damaged& error) {
        outcome.status = Status::unreadable;
        outcome.batch.problem = error.what();
        return outcome;
    } catch (const std::system_error& error) {
        outcome.status = error.code().value() == ENOENT ? Status::alreadyFinished : Status::unreadable;
        outcome.batch.problem = problemOf(error);
        return outcome;
    }
    if (!journal) {
        outcome.status = Status::inUse;
        outcome.batch.isInUse = true;
        return outcome;
    }
    const bool hasEnded = journal->isOver();
    outcome.batch = describedBy(batch.file, journal->header(), hasEnded);
    // The batch's history record, half written ahead when it stopped.
    std::error_code ignored;
    std::filesystem::remove(BatchRecorder::aheadPathOf(batch.file), ignored);
    try {
        if (isRecorded(*journal)) {
            journal->remove();
            outcome.status = Status::alreadyFinished;
            return outcome;
        }
    } catch (const std::system_error& error) {
        outcome.status = Status::unreadable;
        outcome.batch.problem = problemOf(error);
        return outcome;
    }

    const auto& renames = journal->renames();
    const MoveOrder& order = journal->order();
    const auto refs = refsOf(renames);
    Tracker tracker(*journal);
    BatchMoves moves(*fileSystem_, refs, order, &tracker);

    // Back, last move first, as a rollback goes: each item then finds the
    // name it goes back to freed by the items that had taken it. A batch
    // that ended keeps its renames; only items it left under temporary
    // names go back.
    std::vector<std::string> failures(renames.size());
    std::vector<bool> putBack(renames.size(), false);
    const std::size_t total = order.moves.size();
    control.report(BatchProgress::Phase::puttingBack, 0, total);
    std::size_t done = 0;
    PlaceCheck places(*fileSystem_, *journal, moves);
    for (auto move = order.moves.rbegin(); move != order.moves.rend(); ++move) {
        const std::uint32_t rename = move->rename;
        // A folder's moves come together: its items are looked for when the first is reached.
        places.check(renames[rename].directory);
        if (!places.astray(rename) && journal->place(rename) == BatchMoves::after(*move) &&
            (!hasEnded || move->isTemporary)) {
            if (auto error = moves.back(*move)) {
                failures[rename] = std::move(*error);
            } else {
                putBack[rename] = journal->place(rename) == Place::original;
            }
        }
        control.report(BatchProgress::Phase::puttingBack, ++done, total);
    }

    bool needsRecord = false;
    for (std::uint32_t rename = 0; rename < renames.size(); ++rename) {
        places.check(renames[rename].directory); // a folder no move was left in
        const Place place = journal->place(rename);
        const std::optional<std::string>& astray = places.astray(rename);
        if (place == Place::original && !astray) {
            outcome.putBackCount += putBack[rename] ? 1 : 0;
            continue;
        }
        needsRecord = needsRecord || place != Place::original;
        if (hasEnded && place == Place::target) {
            continue; // a rename the batch made and kept
        }
        std::string reason = failures[rename];
        if (astray && !astray->empty()) {
            reason = localized("It has been given another name since");
        } else if (reason.empty()) {
            reason = localized("It could not be found where its record says");
        }
        const std::string_view name = astray && !astray->empty() ? *astray : moves.nameAt(rename, place);
        outcome.left.push_back({Paths::join(renames[rename].directory, name), renames[rename].from, reason});
    }
    outcome.status = outcome.left.empty() ? Status::recovered : Status::partlyRecovered;
    if (needsRecord) {
        outcome.recording = record(*journal, failures, putBack);
        if (outcome.recording.kind != HistoryRecording::Kind::recorded) {
            return outcome; // the write-ahead record is all that tells of the batch
        }
    }
    try {
        journal->remove();
    } catch (const std::system_error&) {
        // Removed or not, recovery is done: what is left of the record
        // describes a batch whose items are where it says.
    }
    return outcome;
}

HistoryRecording Recovery::record(const BatchJournal& journal, const std::vector<std::string>& failures,
                                  const std::vector<bool>& putBack) const {
    const BatchJournal::Header& header = journal.header();
    const auto& renames = journal.renames();
    const auto stuckMessage = [&](std::uint32_t rename) {
        const std::string why = failures[rename].empty()
                                    ? localized("It could not be found where its record says")
                                    : failures[rename];
        return localized("Could not be put back: ") +
               localized("%@ (it is now named \u201C%@\u201D)", why, *journal.order().temporaryName(rename));
    };
    try {
        if (header.kind == BatchJournal::Kind::undo) {
            // The batch's own record: the items the undo took back stay taken back.
            auto undone = history_.find(header.batch, header.batchDate);
            if (!undone) {
                return {HistoryRecording::Kind::failed,
                        localized("The record of the batch is no longer in the history folder \u201C%@\u201D",
                                  history_.directory())};
            }
            for (std::uint32_t rename = 0; rename < renames.size(); ++rename) {
                if (renames[rename].operation >= undone->operations.size()) {
                    continue;
                }
                Operation& operation = undone->operations[renames[rename].operation];
                if (journal.place(rename) == Place::target) {
                    operation.isReverted = true;
                } else if (journal.place(rename) == Place::temporary) {
                    operation.message = stuckMessage(rename);
                }
            }
            history_.save(*undone);
            return {HistoryRecording::Kind::recorded, {}};
        }

        RenameTransaction transaction;
        transaction.id = header.batch;
        transaction.date = header.batchDate;
        transaction.directory = header.directory;
        transaction.presetName = header.presetName;
        bool allDone = true;
        bool anyLeft = false;
        transaction.operations.reserve(renames.size());
        for (std::uint32_t rename = 0; rename < renames.size(); ++rename) {
            const BatchJournal::Rename& item = renames[rename];
            Operation operation{item.id,          item.directory, item.from,    item.to,
                                item.isDirectory, State::done,    std::nullopt, false};
            switch (journal.place(rename)) {
            case Place::target:
                anyLeft = true;
                break;
            case Place::temporary:
                operation.state = State::failed;
                operation.message = stuckMessage(rename);
                anyLeft = true;
                allDone = false;
                break;
            case Place::original:
                operation.state = putBack[rename] ? State::rolledBack : State::notRun;
                allDone = false;
                break;
            }
            transaction.operations.push_back(std::move(operation));
        }
        if (!allDone) {
            transaction.outcome =
                anyLeft ? RenameTransaction::Outcome::rollbackFailed : RenameTransaction::Outcome::rolledBack;
            transaction.failure = journal.isOver()
                                      ? localized("Its record could not be written when it ended")
                                      : localized("Interrupted before it ended; the rest was put back");
        }
        history_.save(transaction);
        return {HistoryRecording::Kind::recorded, {}};
    } catch (const std::exception& error) {
        return {HistoryRecording::Kind::failed, history_.cannotWrite(error)};
    }
}

} // namespace morvane
