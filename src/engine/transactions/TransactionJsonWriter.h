#pragma once

#include "engine/transactions/RenameTransaction.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

// The history file's text, written straight from the transaction: the same
// bytes as dumping its JSON form (to_json) with an indent of two spaces and
// sorted keys, without building that document first. A batch of a hundred
// thousand renames is recorded in a few tens of milliseconds instead of
// several hundred.
class TransactionJsonWriter {
public:
    using Sink = std::function<void(std::string_view)>;

    // How a running batch is expected to end, for its record to be written
    // while it runs. Only what the batch does not change is read from the
    // transaction meanwhile: names, folders, ids, kinds, and for an undo the
    // states and messages, which undo leaves alone.
    struct Expectation {
        // A rename: every operation done, the batch completed.
        bool isCompleted = false;
        // An undo: these operations (indices, ascending) put back, as well as
        // those already put back before.
        std::span<const std::size_t> putBack;
    };

    // Throws nlohmann::json::exception, with the dump's own message, for text
    // that is not UTF-8.
    static std::string write(const RenameTransaction& transaction);
    // The same text, given to `sink` a piece of a few hundred kilobytes at a
    // time, so that a large record is never whole in memory; a refusal comes
    // before anything of the operation it concerns is given.
    static void write(const RenameTransaction& transaction, const Sink& sink);
    // The text of the record once the batch has ended as `expectation` says.
    static void write(const RenameTransaction& transaction, const Expectation& expectation, const Sink& sink);
};

} // namespace morvane
