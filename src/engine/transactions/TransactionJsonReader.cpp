#include "engine/transactions/TransactionJsonReader.h"

#include "engine/support/IsoDate.h"
#include "engine/support/Unicode.h"

#include <nlohmann/json.hpp>

#include <chrono>

namespace morvane {
namespace {

using json = nlohmann::json;
using Operation = RenameTransaction::Operation;

// A field as the text has given it so far. A key given twice counts with its
// last value, as in the document, so a wrong value only refuses the record
// when nothing replaces it.
template <typename T>
struct Field {
    enum class Mark { absent, good, bad };
    Mark mark = Mark::absent;
    T value{};

    void set(T given) {
        value = std::move(given);
        mark = Mark::good;
    }
    void spoil() { mark = Mark::bad; }
    bool isGood() const { return mark == Mark::good; }
    // Absent is fine for an optional field; a wrong value is not.
    bool isUsable() const { return mark != Mark::bad; }
};

struct OperationFields {
    Field<std::string> id, directory, from, to;
    Field<bool> isDirectory, isReverted;
    Field<Operation::State> state;
    Field<std::optional<std::string>> message;

    std::optional<Operation> operation() && {
        if (!id.isGood() || !directory.isGood() || !from.isGood() || !to.isGood() || !isDirectory.isGood() ||
            !state.isGood() || !isReverted.isGood() || !message.isUsable()) {
            return std::nullopt;
        }
        return Operation{std::move(id.value),      std::move(directory.value),
                         std::move(from.value),    std::move(to.value),
                         isDirectory.value,        state.value,
                         std::move(message.value), isReverted.value};
    }
};

// The SAX events of the parser, turned into a transaction: at the top the
// transaction's fields, then its operations, then one operation's fields.
class Reading {
public:
    bool null() {
        return scalar([](auto& field) { return spoilUnlessOptional(field); });
    }
    bool boolean(bool value) {
        return scalar([&](auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, Field<bool>>) {
                field.set(value);
            } else {
                field.spoil();
            }
        });
    }
    bool number_integer(json::number_integer_t) {
        return scalar([](auto& field) { field.spoil(); });
    }
    bool number_unsigned(json::number_unsigned_t) {
        return scalar([](auto& field) { field.spoil(); });
    }
    bool number_float(json::number_float_t, const json::string_t&) {
        return scalar([](auto& field) { field.spoil(); });
    }
    bool binary(json::binary_t&) {
        return scalar([](auto& field) { field.spoil(); });
    }
    bool string(json::string_t& value) {
        if (!skipping() && depth_ == 1 && key_ == "preciseDate") {
            preciseDate_ = std::move(value);
            return true;
        }
        return scalar([&](auto& field) {
            using Type = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<Type, Field<std::string>> ||
                          std::is_same_v<Type, Field<std::optional<std::string>>>) {
                field.set(std::move(value));
            } else if constexpr (std::is_same_v<Type, Field<Operation::State>>) {
                const auto state = operationStateFromRawValue(value);
                state ? field.set(*state) : field.spoil();
            } else {
                field.spoil();
            }
        });
    }

    bool start_object(std::size_t) {
        if (!skipping() && (depth_ == 0 || depth_ == 2)) {
            ++depth_;
            if (depth_ == 3) {
                current_ = OperationFields{};
            }
            key_.clear();
            return true;
        }
        return compound();
    }
    bool end_object() {
        if (skipping()) {
            --skipDepth_;
            return true;
        }
        if (depth_ == 3) {
            if (auto operation = std::move(current_).operation()) {
                operations_.value.push_back(std::move(*operation));
            } else {
                operations_.spoil();
            }
        }
        --depth_;
        return true;
    }
    bool start_array(std::size_t) {
        if (!skipping() && depth_ == 1 && key_ == "operations") {
            ++depth_;
            operations_.set({});
            return true;
        }
        return compound();
    }
    bool end_array() {
        if (skipping()) {
            --skipDepth_;
            return true;
        }
        --depth_;
        return true;
    }
    bool key(json::string_t& value) {
        if (!skipping()) {
            key_ = std::move(value);
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

    std::optional<TransactionJsonReader::Read> result() {
        if (!isObject_ || !id_.isGood() || !date_.isGood() || !directory_.isGood() || !operations_.isGood() ||
            !outcome_.isGood() || !presetName_.isUsable() || !failure_.isUsable()) {
            return std::nullopt;
        }
        const auto id = Uuid::parse(id_.value);
        const auto date = IsoDate::parse(date_.value);
        const auto outcome = outcomeFromRawValue(outcome_.value);
        if (!id || !date || !outcome) {
            return std::nullopt;
        }
        TransactionJsonReader::Read read;
        RenameTransaction& transaction = read.transaction;
        transaction.id = *id;
        transaction.date = *date;
        if (preciseDate_) {
            const auto precise = parsePreciseDate(*preciseDate_);
            if (precise && std::chrono::floor<std::chrono::seconds>(*precise) == *date) {
                transaction.date = *precise;
                read.isPrecise = true;
            }
        }
        transaction.directory = std::move(directory_.value);
        transaction.presetName = std::move(presetName_.value);
        transaction.operations = std::move(operations_.value);
        transaction.outcome = *outcome;
        transaction.failure = std::move(failure_.value);
        return read;
    }

private:
    template <typename T>
    static void spoilUnlessOptional(Field<T>& field) {
        if constexpr (std::is_same_v<T, std::optional<std::string>>) {
            field.set(std::nullopt);
        } else {
            field.spoil();
        }
    }

    bool skipping() const { return skipDepth_ > 0; }

    // A value other than the objects and the array the reader steps into:
    // passed over inside an unknown key, and otherwise a wrong value for the
    // field it is given to.
    bool compound() {
        if (!skipping()) {
            if (depth_ == 0 || depth_ == 2) {
                isObject_ = isObject_ && depth_ != 0;
                if (depth_ == 2) {
                    operations_.spoil(); // an operation that is no object
                }
            } else {
                withField([](auto& field) { field.spoil(); });
            }
        }
        ++skipDepth_;
        return true;
    }

    template <typename Apply>
    bool scalar(Apply apply) {
        if (skipping()) {
            return true;
        }
        if (depth_ == 0) {
            isObject_ = false;
        } else if (depth_ == 2) {
            operations_.spoil();
        } else {
            withField(apply);
        }
        return true;
    }

    // Applies `apply` to the field the current key names, if it names one.
    template <typename Apply>
    void withField(Apply apply) {
        if (depth_ == 1) {
            if (key_ == "id") {
                apply(id_);
            } else if (key_ == "date") {
                apply(date_);
            } else if (key_ == "directory") {
                apply(directory_);
            } else if (key_ == "presetName") {
                apply(presetName_);
            } else if (key_ == "outcome") {
                apply(outcome_);
            } else if (key_ == "failure") {
                apply(failure_);
            } else if (key_ == "operations") {
                operations_.spoil();
            } else if (key_ == "preciseDate") {
                preciseDate_.reset(); // only a text is ever used
            }
            return;
        }
        OperationFields& fields = current_;
        if (key_ == "id") {
            apply(fields.id);
        } else if (key_ == "directory") {
            apply(fields.directory);
        } else if (key_ == "from") {
            apply(fields.from);
        } else if (key_ == "to") {
            apply(fields.to);
        } else if (key_ == "isDirectory") {
            apply(fields.isDirectory);
        } else if (key_ == "state") {
            apply(fields.state);
        } else if (key_ == "message") {
            apply(fields.message);
        } else if (key_ == "isReverted") {
            apply(fields.isReverted);
        }
    }

    int depth_ = 0;     // 1: the transaction, 2: its operations, 3: one operation
    int skipDepth_ = 0; // inside a value passed over
    bool isObject_ = true;
    std::string key_;
    Field<std::string> id_, date_, directory_, outcome_;
    Field<std::optional<std::string>> presetName_, failure_;
    std::optional<std::string> preciseDate_;
    Field<std::vector<Operation>> operations_;
    OperationFields current_;
};

// The text exactly as TransactionJsonWriter lays it out, read without a
// parser: fixed keys in their order, strings without escapes. Anything else
// (an escape, another layout, a value the writer never writes) gives nothing,
// and the parser reads the record instead.
class WrittenLayout {
public:
    explicit WrittenLayout(std::string_view text) : text_(text) {}

    std::optional<TransactionJsonReader::Read> read() {
        std::string id, date, directory, outcome, precise;
        std::optional<std::string> failure, presetName;
        std::vector<Operation> operations;
        if (!(literal("{\n  \"date\": ") && string(date) && literal(",\n  \"directory\": ") &&
              string(directory) && optionalKey(",\n  \"failure\": ", failure) && literal(",\n  \"id\": ") &&
              string(id) && literal(",\n  \"operations\": ") && operationsList(operations) &&
              literal(",\n  \"outcome\": ") && string(outcome) && literal(",\n  \"preciseDate\": ") &&
              string(precise) && optionalKey(",\n  \"presetName\": ", presetName) && literal("\n}\n") &&
              text_.empty())) {
            return std::nullopt;
        }
        const auto parsedId = Uuid::parse(id);
        const auto parsedDate = IsoDate::parse(date);
        const auto parsedOutcome = outcomeFromRawValue(outcome);
        const auto parsedPrecise = parsePreciseDate(precise);
        if (!parsedId || !parsedDate || !parsedOutcome) {
            return std::nullopt;
        }
        TransactionJsonReader::Read read;
        RenameTransaction& transaction = read.transaction;
        transaction.id = *parsedId;
        transaction.date = *parsedDate;
        if (parsedPrecise && std::chrono::floor<std::chrono::seconds>(*parsedPrecise) == *parsedDate) {
            transaction.date = *parsedPrecise;
            read.isPrecise = true;
        }
        transaction.directory = std::move(directory);
        transaction.presetName = std::move(presetName);
        transaction.operations = std::move(operations);
        transaction.outcome = *parsedOutcome;
        transaction.failure = std::move(failure);
        return read;
    }

private:
    bool literal(std::string_view expected) {
        if (!text_.starts_with(expected)) {
            return false;
        }
        text_.remove_prefix(expected.size());
        return true;
    }
    // A string of UTF-8 without escapes or control characters, as it stands.
    bool string(std::string& into) {
        if (!literal("\"")) {
            return false;
        }
        std::size_t end = 0;
        while (end < text_.size() && text_[end] != '"') {
            const auto byte = static_cast<unsigned char>(text_[end]);
            if (byte == '\\' || byte < 0x20) {
                return false;
            }
            ++end;
        }
        if (end == text_.size() || !unicode::isValidUtf8(text_.substr(0, end))) {
            return false;
        }
        into.assign(text_.substr(0, end));
        text_.remove_prefix(end + 1);
        return true;
    }
    bool optionalKey(std::string_view key, std::optional<std::string>& into) {
        if (!text_.starts_with(key)) {
            return true;
        }
        text_.remove_prefix(key.size());
        return string(into.emplace());
    }
    bool boolean(bool& into) {
        into = text_.starts_with("true");
        return literal(into ? "true" : "false");
    }
    bool operationsList(std::vector<Operation>& operations) {
        if (literal("[]")) {
            return true;
        }
        if (!literal("[\n")) {
            return false;
        }
        do {
            Operation& operation = operations.emplace_back();
            std::string state;
            if (!(literal("    {\n      \"directory\": ") && string(operation.directory) &&
                  literal(",\n      \"from\": ") && string(operation.from) && literal(",\n      \"id\": ") &&
                  string(operation.id) && literal(",\n      \"isDirectory\": ") &&
                  boolean(operation.isDirectory) && literal(",\n      \"isReverted\": ") &&
                  boolean(operation.isReverted) && optionalKey(",\n      \"message\": ", operation.message) &&
                  literal(",\n      \"state\": ") && string(state) && literal(",\n      \"to\": ") &&
                  string(operation.to) && literal("\n    }"))) {
                return false;
            }
            const auto parsed = operationStateFromRawValue(state);
            if (!parsed) {
                return false;
            }
            operation.state = *parsed;
        } while (literal(",\n"));
        return literal("\n  ]");
    }

    std::string_view text_;
};

} // namespace

std::optional<TransactionJsonReader::Read> TransactionJsonReader::read(std::string_view text) {
    if (auto written = WrittenLayout(text).read()) {
        return written;
    }
    Reading reading;
    if (!json::sax_parse(text.begin(), text.end(), &reading)) {
        return std::nullopt;
    }
    return reading.result();
}

} // namespace morvane
