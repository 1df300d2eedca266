#include "engine/transactions/TransactionJsonWriter.h"

#include "engine/support/IsoDate.h"
#include "engine/support/JsonText.h"
#include "engine/support/Unicode.h"

#include <nlohmann/json.hpp>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;

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

// Keys in byte order, as nlohmann's objects keep them.
void appendOperation(std::string& out, const Operation& operation) {
    out += "    {\n      \"directory\": ";
    appendString(out, operation.directory);
    out += ",\n      \"from\": ";
    appendString(out, operation.from);
    out += ",\n      \"id\": ";
    appendString(out, operation.id);
    out += ",\n      \"isDirectory\": ";
    out += boolean(operation.isDirectory);
    out += ",\n      \"isReverted\": ";
    out += boolean(operation.isReverted);
    if (operation.message) {
        out += ",\n      \"message\": ";
        appendString(out, *operation.message);
    }
    out += ",\n      \"state\": ";
    appendString(out, rawValue(operation.state));
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

} // namespace

std::string TransactionJsonWriter::write(const RenameTransaction& transaction) {
    std::string out;
    out.reserve(expectedSize(transaction));
    out += "{\n  \"date\": ";
    appendString(out, IsoDate::format(transaction.date));
    out += ",\n  \"directory\": ";
    appendString(out, transaction.directory);
    if (transaction.failure) {
        out += ",\n  \"failure\": ";
        appendString(out, *transaction.failure);
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
            appendOperation(out, transaction.operations[i]);
        }
        out += "\n  ]";
    }
    out += ",\n  \"outcome\": ";
    appendString(out, rawValue(transaction.outcome));
    out += ",\n  \"preciseDate\": ";
    appendString(out, preciseDateText(transaction.date));
    if (transaction.presetName) {
        out += ",\n  \"presetName\": ";
        appendString(out, *transaction.presetName);
    }
    out += "\n}\n";
    return out;
}

} // namespace morvane
