#pragma once

#include "engine/support/Date.h"
#include "engine/support/Uuid.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// One batch of renames: what was asked, what happened to each item, and how
// the batch ended. The history keeps one JSON file per transaction, and undo
// works from it alone.
struct RenameTransaction {
    struct Operation {
        enum class State { pending, done, failed, notRun, rolledBack };

        std::string id;        // the item's id
        std::string directory; // the folder that held the item when it was renamed
        std::string from;
        std::string to;
        bool isDirectory = false;
        State state = State::pending;
        std::optional<std::string> message; // why it failed or could not be put back
        bool isReverted = false;            // put back by an undo

        std::string fromPath() const;
        std::string toPath() const;

        bool operator==(const Operation&) const = default;
    };

    enum class Outcome { completed, rolledBack, rollbackFailed };

    Uuid id;
    // When the batch started, to the clock's precision. Records keep it in
    // whole seconds under "date" and, for newer readers, to the nanosecond
    // under the optional "preciseDate", which orders batches started within
    // one second.
    Date date{};
    std::string directory;
    std::optional<std::string> presetName;
    std::vector<Operation> operations;
    Outcome outcome = Outcome::completed;
    std::optional<std::string> failure; // the message that stopped the batch

    std::size_t appliedCount() const;    // operations done
    std::size_t revertibleCount() const; // done and not yet reverted
    // Something was applied, and all of it has been put back.
    bool isFullyUndone() const;

    bool operator==(const RenameTransaction&) const = default;
};

std::string_view rawValue(RenameTransaction::Operation::State state);
std::optional<RenameTransaction::Operation::State> operationStateFromRawValue(std::string_view raw);
std::string_view rawValue(RenameTransaction::Outcome outcome);
std::optional<RenameTransaction::Outcome> outcomeFromRawValue(std::string_view raw);

// "2026-12-05T07:15:09.400000000Z": ISO 8601 in UTC, always nine digits of fraction.
std::string preciseDateText(Date date);
std::optional<Date> parsePreciseDate(std::string_view text);
// A record's "preciseDate", when it is one and lies within the second its
// "date" (`wholeSecond`) names; older records have none.
std::optional<Date> preciseDateOf(const nlohmann::json& record, Date wholeSecond);

// The JSON form: keys are the field names, absent optionals are left out,
// `date` is ISO 8601 UTC in whole seconds, with "preciseDate" beside it.
// Reading throws for a missing key, a value of the wrong type, an unknown
// state or outcome, a malformed date or id; an unusable "preciseDate" is
// passed over.
void to_json(nlohmann::json& json, const RenameTransaction::Operation& operation);
void from_json(const nlohmann::json& json, RenameTransaction::Operation& operation);
void to_json(nlohmann::json& json, const RenameTransaction& transaction);
void from_json(const nlohmann::json& json, RenameTransaction& transaction);

} // namespace morvane
