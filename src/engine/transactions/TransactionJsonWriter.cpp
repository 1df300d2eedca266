#include "engine/transactions/TransactionJsonWriter.h"

#include "engine/support/IsoDate.h"
#include "engine/support/Unicode.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Whether any of the eight bytes of `word` is below `limit` (at most 0x80).
constexpr bool hasByteBelow(std::uint64_t word, std::uint64_t limit) {
    return ((word - kEveryByte * limit) & ~word & kHighBits) != 0;
}

constexpr bool hasByte(std::uint64_t word, unsigned char byte) {
    return hasByteBelow(word ^ (kEveryByte * byte), 1);
}

bool needsEscaping(unsigned char byte) {
    return byte < 0x20 || byte == '"' || byte == '\\';
}

// Text that the dump copies as it is: UTF-8 without quotes, backslashes or
// control characters ("/" and DEL are not escaped either). Names make up most
// of a history file, so they are checked eight bytes at a time.
bool needsNoEscaping(std::string_view text) {
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + sizeof seen <= text.size(); i += sizeof seen) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (hasByteBelow(word, 0x20) || hasByte(word, '"') || hasByte(word, '\\')) {
            return false;
        }
        seen |= word;
    }
    for (; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (needsEscaping(byte)) {
            return false;
        }
        seen |= byte;
    }
    return (seen & kHighBits) == 0 || unicode::isValidUtf8(text);
}

// Anything else goes through nlohmann's own serializer, so that escapes and
// the refusal of text that is not UTF-8 are exactly those of a whole dump.
void appendString(std::string& out, std::string_view text) {
    if (needsNoEscaping(text)) {
        out += '"';
        out += text;
        out += '"';
        return;
    }
    out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
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
    if (transaction.presetName) {
        out += ",\n  \"presetName\": ";
        appendString(out, *transaction.presetName);
    }
    out += "\n}\n";
    return out;
}

} // namespace morvane
