#pragma once

#include "engine/transactions/HistoryListing.h"
#include "engine/transactions/RenameTransaction.h"

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
    // Pretty-printed, keys sorted, "/" not escaped. Throws
    // nlohmann::json::exception for text that is not UTF-8.
    static std::string encode(const RenameTransaction& transaction);
    // No value for anything that is not a complete, well-formed transaction.
    static std::optional<RenameTransaction> decode(std::string_view text);

    const std::string& directory() const { return directory_; }

    // Creates the folder if needed and proves that a file can be written in
    // it, so that a batch is refused before its first move rather than left
    // unrecorded after its last. Throws as `save` does.
    void prepare() const;
    // Creates the folder if needed and replaces the file atomically.
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

private:
    std::string directory_;
};

} // namespace morvane
