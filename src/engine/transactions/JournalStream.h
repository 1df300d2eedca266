#pragma once

#include "engine/filesystem/FileIdentity.h"
#include "engine/filesystem/LockedFile.h"
#include "engine/transactions/BatchJournal.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace morvane {

// The body of a write-ahead record: its folders, its renames with their
// items' identities, and the order of its moves, cut into checksummed blocks
// so that damage anywhere is found before anything is moved.
class JournalStream {
public:
    // What the record's header says of its body.
    struct Layout {
        std::uint64_t moveCount = 0;
        std::uint64_t streamLength = 0;
        std::uint64_t blockCount = 0;
    };

    struct Contents {
        std::vector<BatchJournal::Rename> renames;
        MoveOrder order;
    };

    // Writes the body from `offset`: each rename with the operation of
    // `transaction` it serves (`operations`; empty: rename i serves operation
    // i) and its item's identity (`identities`, by rename; empty: none known).
    static Layout write(LockedFile& file, std::uint64_t offset, const RenameTransaction& transaction,
                        const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                        std::span<const std::size_t> operations,
                        std::span<const std::optional<FileIdentity>> identities);
    // Reads back what `write` wrote; records of the first version keep no
    // identities. Throws BatchJournal::Damaged.
    static Contents read(const LockedFile& file, std::uint64_t offset, const Layout& layout,
                         std::uint64_t renameCount, bool hasIdentities);
};

} // namespace morvane
