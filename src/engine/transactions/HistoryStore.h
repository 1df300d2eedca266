#pragma once

#include "engine/transactions/BatchJournal.h"
#include "engine/transactions/HistoryListing.h"
#include "engine/transactions/RenameTransaction.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The history folder: one JSON file per transaction, named after its date (UTC,
// to the second) and id, so saving a transaction again replaces its file.
// Errors of the system (no permission, disk full) are thrown as they are
// (std::system_error, std::filesystem::filesystem_error).
class HistoryStore {
public:
    explicit HistoryStore(std::string directory) : directory_(std::move(directory)) {}

    // <user data folder>/History.
    static std::string defaultDirectory();
    // "yyyyMMdd-HHmmss-<UUID>.json".
    static std::string fileName(const RenameTransaction& transaction);
    static std::string fileName(const Uuid& id, Date date);
    // Pretty-printed, keys sorted, "/" not escaped. Throws
    // nlohmann::json::exception for text that is not UTF-8.
    static std::string encode(const RenameTransaction& transaction);
    // No value for anything that is not a complete, well-formed transaction.
    static std::optional<RenameTransaction> decode(std::string_view text);

    const std::string& directory() const { return directory_; }
    // Where the transaction's record is (or would be).
    std::string pathOf(const RenameTransaction& transaction) const;

    // The write-ahead record of a batch while it runs ("….journal"), or of
    // an undo of it ("….undo.journal"), beside the batch's own record:
    // named after the batch, so a batch has at most one of each.
    std::string journalPath(BatchJournal::Kind kind, const Uuid& batch, Date batchDate) const;
    // The write-ahead records in the folder, in name order; none when there
    // is no folder. Throws when the folder cannot be listed.
    std::vector<std::string> journalPaths() const;

    // Creates the folder if needed and proves that a file can be written in
    // it, so that a batch is refused before its first move rather than left
    // unrecorded after its last. Throws as `save` does.
    void prepare() const;
    // Creates the folder if needed and replaces the file atomically; the
    // text is written as it is made, never whole in memory.
    void save(const RenameTransaction& transaction) const;
    // Newest first: by start time, to the nanosecond where the record keeps
    // it; for an older record without it, by its file's modification time
    // within the second of its date. A missing folder is an empty history.
    // Files that cannot be read or are no transaction are skipped and listed
    // with the reason; names not ending in exactly ".json" are not looked at.
    HistoryListing loadReporting() const;
    // The transactions of loadReporting().
    std::vector<RenameTransaction> load() const;
    // The newest transaction that still has something to undo.
    std::optional<RenameTransaction> latestUndoable() const;
    // Removes the transaction's file; throws if there is none.
    void remove(const RenameTransaction& transaction) const;
    // The record of the batch with this id and start, if it is there and can be read.
    std::optional<RenameTransaction> find(const Uuid& id, Date date) const;

    // A failure to write into the folder, as a sentence naming it.
    std::string cannotWrite(const std::exception& error) const;

    // How the files that prepare() writes to prove the folder writable begin.
    static constexpr std::string_view kWriteTestPrefix = ".write-test-";

private:
    std::string directory_;
};

} // namespace morvane
