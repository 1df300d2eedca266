#include "engine/support/JsonText.h"

#include <cstdint>
#include <cstring>

namespace morvane {
namespace {

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

// Names make up most of what is written, and almost none needs an escape:
// check them eight bytes at a time.
bool needsNoEscaping(std::string_view text) {
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= text.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (hasByteBelow(word, 0x20) || hasByte(word, '"') || hasByte(word, '\\')) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (needsEscaping(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    if (needsNoEscaping(text)) {
        out.append(text);
        out += '"';
        return;
    }
    std::size_t plain = 0; // start of the run not yet copied
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

} // namespace morvane
