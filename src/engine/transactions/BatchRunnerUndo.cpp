#include "engine/filesystem/LockedFile.h"
#include "engine/support/Localization.h"
#include "engine/transactions/BatchRecorder.h"
#include "engine/transactions/BatchRunner.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

namespace morvane {
namespace {

using Transactions = std::vector<RenameTransaction>;

// The recorded batches whose id begins with `wanted` (either letter case):
// one for a whole id or a prefix only it has.
Transactions matching(const Transactions& transactions, std::string wanted) {
    std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    Transactions result;
    for (const RenameTransaction& transaction : transactions) {
        const std::string id = transaction.id.text();
        if (id == wanted) {
            return {transaction};
        }
        if (!wanted.empty() && id.starts_with(wanted)) {
            result.push_back(transaction);
        }
    }
    return result;
}

// Whether an undo of a batch was cut short: its record is there, unless it
// never got whole (written in place by an older version, killed as it wrote
// it), when nothing had moved yet and the record goes.
bool wasInterrupted(const std::string& record) {
    std::error_code ignored;
    if (!std::filesystem::exists(record, ignored)) {
        return false;
    }
    try {
        BatchJournal::readHeader(record);
    } catch (const BatchJournal::NeverWritten&) {
        return !LockedFile::removeUnlessHeld(record);
    } catch (const std::system_error& error) {
        return error.code().value() != ENOENT; // recovered meanwhile
    } catch (const std::exception&) {
        // Damaged or unreadable: recovery says what is wrong with it.
    }
    return true;
}

} // namespace

UndoOutcome BatchRunner::undo(UndoRequest request, const BatchControl& control) const {
    UndoOutcome outcome;
    std::optional<RenameTransaction> chosen = std::move(request.transaction);
    Transactions recorded;
    if (!chosen && services_.history) {
        try {
            HistoryListing listing = services_.history->loadReporting();
            recorded = std::move(listing.transactions);
            outcome.unreadable = std::move(listing.unreadable);
        } catch (const std::exception& error) {
            outcome.status = UndoOutcome::Status::unreadable;
            outcome.historyError = localized("The history folder \u201C%@\u201D cannot be read: %@",
                                             services_.history->directory(), std::string(error.what()));
            return outcome;
        }
        if (request.id) {
            Transactions found = matching(recorded, *request.id);
            if (found.empty()) {
                outcome.status = UndoOutcome::Status::noSuchBatch;
                return outcome;
            }
            if (found.size() > 1) {
                outcome.status = UndoOutcome::Status::ambiguousId;
                outcome.matches = std::move(found);
                return outcome;
            }
            chosen = std::move(found.front());
        } else {
            const auto latest = std::find_if(recorded.begin(), recorded.end(), [](const auto& transaction) {
                return transaction.revertibleCount() > 0;
            });
            if (latest != recorded.end()) {
                // Taken out of the list, not copied: only its id is looked for there later.
                chosen = std::move(*latest);
            }
        }
    }
    if (!chosen) {
        outcome.status = UndoOutcome::Status::nothingToUndo;
        return outcome;
    }
    std::optional<BatchRecorder> recorder;
    if (services_.history) {
        const HistoryStore& history = *services_.history;
        // The items of an undo cut short are neither where the record says
        // nor back: they must be put back before anything else is tried.
        if (wasInterrupted(history.journalPath(BatchJournal::Kind::undo, chosen->id, chosen->date))) {
            outcome.status = UndoOutcome::Status::interrupted;
            outcome.matches = {*chosen};
            return outcome;
        }
        if (!request.dryRun) {
            try {
                history.prepare();
            } catch (const std::exception& error) {
                outcome.status = UndoOutcome::Status::unreadable;
                outcome.historyError = history.cannotWrite(error);
                return outcome;
            }
            recorder.emplace(history, BatchJournal::Kind::undo, *chosen, services_.now());
        }
    }

    UndoReport report = executor().undo(*chosen, request.dryRun, control, recorder ? &*recorder : nullptr);
    outcome.status = UndoOutcome::Status::ran;
    outcome.wasStopped = control.stopRequested() && report.count(UndoReport::Status::Kind::notRun) > 0;
    const bool reverted = report.revertedCount() > 0;
    if (recorder) {
        outcome.recording = recordingOf(recorder->finish(report.transaction, reverted), reverted);
    } else if (!request.dryRun && reverted) {
        outcome.recording = {HistoryRecording::Kind::disabled, {}};
    }
    // Nothing of this batch could be put back: name the batch the user can turn to next.
    if (report.revertedCount() == 0 && !report.statuses.empty() && !outcome.wasStopped) {
        const auto self = std::find_if(recorded.begin(), recorded.end(),
                                       [&](const auto& transaction) { return transaction.id == chosen->id; });
        const auto next =
            std::find_if(self == recorded.end() ? self : std::next(self), recorded.end(),
                         [](const auto& transaction) { return transaction.revertibleCount() > 0; });
        if (next != recorded.end()) {
            outcome.next = *next;
        }
    }
    outcome.report = std::move(report);
    return outcome;
}

} // namespace morvane
