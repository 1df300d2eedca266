#pragma once

#include "engine/transactions/RenameTransaction.h"

#include <string>

namespace morvane {

// The history file's text, written straight from the transaction: the same
// bytes as dumping its JSON form (to_json) with an indent of two spaces and
// sorted keys, without building that document first. A batch of a hundred
// thousand renames is recorded in a few tens of milliseconds instead of
// several hundred.
class TransactionJsonWriter {
public:
    // Throws nlohmann::json::exception, with the dump's own message, for text
    // that is not UTF-8.
    static std::string write(const RenameTransaction& transaction);
};

} // namespace morvane
