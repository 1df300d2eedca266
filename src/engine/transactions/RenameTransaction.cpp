#include "engine/transactions/RenameTransaction.h"

#include "engine/support/IsoDate.h"
#include "engine/support/Paths.h"
#include "engine/support/RawValues.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace morvane {
namespace {

using State = RenameTransaction::Operation::State;
using Outcome = RenameTransaction::Outcome;

constexpr std::array<std::string_view, 5> kStates{"pending", "done", "failed", "notRun", "rolledBack"};
constexpr std::array<std::string_view, 3> kOutcomes{"completed", "rolledBack", "rollbackFailed"};

// A foreign file that happens to use our keys must not be taken for a
// transaction, so every value is checked for its type.
std::string stringAt(const nlohmann::json& json, const char* key) {
    return json.at(key).get<std::string>();
}

std::optional<std::string> optionalStringAt(const nlohmann::json& json, const char* key) {
    const auto found = json.find(key);
    if (found == json.end() || found->is_null()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

[[noreturn]] void malformed(const std::string& what) {
    throw nlohmann::json::other_error::create(501, "malformed transaction: " + what, nullptr);
}

} // namespace

std::string preciseDateText(Date date) {
    const auto second = std::chrono::floor<std::chrono::seconds>(date);
    const auto fraction = std::chrono::duration_cast<std::chrono::nanoseconds>(date - second).count();
    char digits[16];
    std::snprintf(digits, sizeof digits, ".%09lldZ", static_cast<long long>(fraction));
    std::string text = IsoDate::format(date);
    text.pop_back(); // the "Z"
    return text + digits;
}

std::optional<Date> parsePreciseDate(std::string_view text) {
    // "yyyy-MM-ddTHH:mm:ss" "." nine digits "Z"
    if (text.size() != 30 || text[19] != '.' || text.back() != 'Z') {
        return std::nullopt;
    }
    const auto second = IsoDate::parse(std::string(text.substr(0, 19)) + "Z");
    long long nanoseconds = 0;
    for (const char digit : text.substr(20, 9)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        nanoseconds = nanoseconds * 10 + (digit - '0');
    }
    if (!second) {
        return std::nullopt;
    }
    return *second + std::chrono::duration_cast<Date::duration>(std::chrono::nanoseconds(nanoseconds));
}

std::optional<Date> preciseDateOf(const nlohmann::json& record, Date wholeSecond) {
    const auto found = record.find("preciseDate");
    if (found == record.end() || !found->is_string()) {
        return std::nullopt;
    }
    const auto precise = parsePreciseDate(found->get_ref<const std::string&>());
    if (!precise || std::chrono::floor<std::chrono::seconds>(*precise) != wholeSecond) {
        return std::nullopt;
    }
    return precise;
}

std::string RenameTransaction::Operation::fromPath() const {
    return Paths::join(directory, from);
}

std::string RenameTransaction::Operation::toPath() const {
    return Paths::join(directory, to);
}

std::size_t RenameTransaction::appliedCount() const {
    return static_cast<std::size_t>(std::count_if(
        operations.begin(), operations.end(), [](const Operation& op) { return op.state == State::done; }));
}

std::size_t RenameTransaction::revertibleCount() const {
    return static_cast<std::size_t>(
        std::count_if(operations.begin(), operations.end(),
                      [](const Operation& op) { return op.state == State::done && !op.isReverted; }));
}

bool RenameTransaction::isFullyUndone() const {
    return appliedCount() > 0 && revertibleCount() == 0;
}

std::string_view rawValue(State state) {
    return rawValueIn(kStates, state);
}

std::optional<State> operationStateFromRawValue(std::string_view raw) {
    return enumFromRawValue<State>(kStates, raw);
}

std::string_view rawValue(Outcome outcome) {
    return rawValueIn(kOutcomes, outcome);
}

std::optional<Outcome> outcomeFromRawValue(std::string_view raw) {
    return enumFromRawValue<Outcome>(kOutcomes, raw);
}

void to_json(nlohmann::json& json, const RenameTransaction::Operation& operation) {
    json = nlohmann::json{{"id", operation.id},
                          {"directory", operation.directory},
                          {"from", operation.from},
                          {"to", operation.to},
                          {"isDirectory", operation.isDirectory},
                          {"state", std::string(rawValue(operation.state))},
                          {"isReverted", operation.isReverted}};
    if (operation.message) {
        json["message"] = *operation.message;
    }
}

void from_json(const nlohmann::json& json, RenameTransaction::Operation& operation) {
    operation.id = stringAt(json, "id");
    operation.directory = stringAt(json, "directory");
    operation.from = stringAt(json, "from");
    operation.to = stringAt(json, "to");
    operation.isDirectory = json.at("isDirectory").get<bool>();
    const auto state = operationStateFromRawValue(stringAt(json, "state"));
    if (!state) {
        malformed("unknown state");
    }
    operation.state = *state;
    operation.message = optionalStringAt(json, "message");
    operation.isReverted = json.at("isReverted").get<bool>();
}

void to_json(nlohmann::json& json, const RenameTransaction& transaction) {
    json = nlohmann::json{{"id", transaction.id.text()},
                          {"date", IsoDate::format(transaction.date)},
                          {"preciseDate", preciseDateText(transaction.date)},
                          {"directory", transaction.directory},
                          {"operations", transaction.operations},
                          {"outcome", std::string(rawValue(transaction.outcome))}};
    if (transaction.presetName) {
        json["presetName"] = *transaction.presetName;
    }
    if (transaction.failure) {
        json["failure"] = *transaction.failure;
    }
}

void from_json(const nlohmann::json& json, RenameTransaction& transaction) {
    const auto id = Uuid::parse(stringAt(json, "id"));
    if (!id) {
        malformed("id is not a UUID");
    }
    const auto date = IsoDate::parse(stringAt(json, "date"));
    if (!date) {
        malformed("date is not an ISO 8601 date");
    }
    const auto outcome = outcomeFromRawValue(stringAt(json, "outcome"));
    if (!outcome) {
        malformed("unknown outcome");
    }
    transaction.id = *id;
    transaction.date = preciseDateOf(json, *date).value_or(*date);
    transaction.directory = stringAt(json, "directory");
    transaction.presetName = optionalStringAt(json, "presetName");
    transaction.operations = json.at("operations").get<std::vector<RenameTransaction::Operation>>();
    transaction.outcome = *outcome;
    transaction.failure = optionalStringAt(json, "failure");
}

} // namespace morvane
