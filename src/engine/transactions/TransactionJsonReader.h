#pragma once

#include "engine/transactions/RenameTransaction.h"

#include <optional>
#include <string_view>

namespace morvane {

// A history file's transaction, read as the text goes by rather than from
// the JSON document built first: a record of a hundred thousand renames is
// read in a fraction of the time and memory. It accepts exactly what
// from_json accepts (unknown keys are passed over, a key given twice counts
// with its last value); for anything else it only says no, and the document
// says why.
class TransactionJsonReader {
public:
    struct Read {
        RenameTransaction transaction;
        bool isPrecise = false; // the record's "preciseDate" was usable
    };

    static std::optional<Read> read(std::string_view text);
};

} // namespace morvane
