#pragma once

#include "engine/transactions/RenameTransaction.h"

#include <string>
#include <vector>

namespace morvane {

// What a history folder holds: its transactions, and the record files that
// could not be read, so that a front end can say which and why rather than
// silently undo an older batch.
struct HistoryListing {
    struct Unreadable {
        std::string file;   // the record file's path
        std::string reason; // for people, in the engine's language

        bool operator==(const Unreadable&) const = default;
    };

    std::vector<RenameTransaction> transactions; // newest first
    std::vector<Unreadable> unreadable;          // in file-name order

    bool operator==(const HistoryListing&) const = default;
};

} // namespace morvane
