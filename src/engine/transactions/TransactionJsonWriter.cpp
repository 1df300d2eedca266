#include "engine/transactions/TransactionJsonWriter.h"

#include "engine/support/IsoDate.h"
#include "engine/support/JsonText.h"
#include "engine/support/Unicode.h"

#include <nlohmann/json.hpp>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using Outcome = RenameTransaction::Outcome;

// Text that is not UTF-8 is refused exactly as a whole dump refuses it, with
// nlohmann's own exception; everything else is escaped as nlohmann escapes it.
void appendString(std::string& out, std::string_view text) {
    if (!unicode::isValidUtf8(text)) {
        out +=
            nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
        return;
    }
    appendJsonString(out, text);
}

std::string_view boolean(bool value) {
    return value ? "true" : "false";
}

// What an operation's record says: the transaction's, or what it is expected to say.
struct OperationView {
    const Operation& operation;
    State state;
    const std::optional<std::string>& message;
    bool isReverted;
};

// Keys in byte order, as nlohmann's objects keep them.
void appendOperation(std::string& out, const OperationView& view) {
    const Operation& operation = view.operation;
    out += "    {\n      \"directory\": ";
    appendString(out, operation.directory);
    out += ",\n      \"from\": ";
    appendString(out, operation.from);
    out += ",\n      \"id\": ";
    appendString(out, operation.id);
    out += ",\n      \"isDirectory\": ";
    out += boolean(operation.isDirectory);
    out += ",\n      \"isReverted\": ";
    out += boolean(view.isReverted);
    if (view.message) {
        out += ",\n      \"message\": ";
        appendString(out, *view.message);
    }
    out += ",\n      \"state\": ";
    appendString(out, rawValue(view.state));
    out += ",\n      \"to\": ";
    appendString(out, operation.to);
    out += "\n    }";
}

// Enough for the text unless names need escaping, so that it is not copied
// again and again while it grows.
std::size_t expectedSize(const RenameTransaction& transaction) {
    constexpr std::size_t layout = 256;
    constexpr std::size_t operationLayout = 170;
    constexpr std::size_t messageLayout = 24;
    std::size_t size = layout + transaction.directory.size() + transaction.presetName.value_or("").size() +
                       transaction.failure.value_or("").size();
    for (const Operation& operation : transaction.operations) {
        size += operationLayout + operation.id.size() + operation.directory.size() + operation.from.size() +
                operation.to.size();
        if (operation.message) {
            size += messageLayout + operation.message->size();
        }
    }
    return size;
}

constexpr std::size_t kPiece = 256 * 1024;

// The whole text, to `sink` in pieces, with each operation as `viewOf` says
// and the batch's ending as given.
template <typename ViewOf>
void writeRecord(const RenameTransaction& transaction, Outcome outcome,
                 const std::optional<std::string>& failure, ViewOf viewOf, std::string& out,
                 const TransactionJsonWriter::Sink* sink) {
    const auto pass = [&] {
        if (sink != nullptr && out.size() >= kPiece) {
            (*sink)(out);
            out.clear();
        }
    };
    out += "{\n  \"date\": ";
    appendString(out, IsoDate::format(transaction.date));
    out += ",\n  \"directory\": ";
    appendString(out, transaction.directory);
    if (failure) {
        out += ",\n  \"failure\": ";
        appendString(out, *failure);
    }
    out += ",\n  \"id\": ";
    appendString(out, transaction.id.text());
    out += ",\n  \"operations\": ";
    if (transaction.operations.empty()) {
        out += "[]";
    } else {
        out += "[\n";
        for (std::size_t i = 0; i < transaction.operations.size(); ++i) {
            if (i > 0) {
                out += ",\n";
            }
            appendOperation(out, viewOf(i));
            pass();
        }
        out += "\n  ]";
    }
    out += ",\n  \"outcome\": ";
    appendString(out, rawValue(outcome));
    out += ",\n  \"preciseDate\": ";
    appendString(out, preciseDateText(transaction.date));
    if (transaction.presetName) {
        out += ",\n  \"presetName\": ";
        appendString(out, *transaction.presetName);
    }
    out += "\n}\n";
    if (sink != nullptr) {
        (*sink)(out);
        out.clear();
    }
}

OperationView asRecorded(const Operation& operation) {
    return OperationView{operation, operation.state, operation.message, operation.isReverted};
}

} // namespace

std::string TransactionJsonWriter::write(const RenameTransaction& transaction) {
    std::string out;
    out.reserve(expectedSize(transaction));
    writeRecord(
        transaction, transaction.outcome, transaction.failure,
        [&](std::size_t i) { return asRecorded(transaction.operations[i]); }, out, nullptr);
    return out;
}

void TransactionJsonWriter::write(const RenameTransaction& transaction, const Sink& sink) {
    std::string out;
    out.reserve(kPiece + 4096);
    writeRecord(
        transaction, transaction.outcome, transaction.failure,
        [&](std::size_t i) { return asRecorded(transaction.operations[i]); }, out, &sink);
}

void TransactionJsonWriter::write(const RenameTransaction& transaction, const Expectation& expectation,
                                  const Sink& sink) {
    std::string out;
    out.reserve(kPiece + 4096);
    static const std::optional<std::string> none;
    if (expectation.isCompleted) {
        writeRecord(
            transaction, Outcome::completed, none,
            [&](std::size_t i) {
                return OperationView{transaction.operations[i], State::done, none, false};
            },
            out, &sink);
        return;
    }
    std::size_t next = 0; // in expectation.putBack
    writeRecord(
        transaction, transaction.outcome, transaction.failure,
        [&](std::size_t i) {
            const Operation& operation = transaction.operations[i];
            // The mark of an operation being put back is not even read: the undo may be setting it.
            const bool isPutBack = next < expectation.putBack.size() && expectation.putBack[next] == i;
            next += isPutBack ? 1 : 0;
            return OperationView{operation, operation.state, operation.message,
                                 isPutBack || operation.isReverted};
        },
        out, &sink);
}

} // namespace morvane
