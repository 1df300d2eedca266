#pragma once

#include "engine/support/Localization.h"
#include "engine/transactions/BatchJournal.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::journalbytes {

// The write-ahead record's numbers and texts: little-endian fixed widths,
// variable-length numbers (seven bits a byte) and texts after their length.

inline void putFixed(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline void putVarint(std::string& out, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) {
        out += static_cast<char>((value & 0x7F) | 0x80);
    }
    out += static_cast<char>(value);
}

inline void putText(std::string& out, std::string_view text) {
    putVarint(out, text.size());
    out.append(text);
}

[[noreturn]] inline void damaged(const std::string& why) {
    throw BatchJournal::Damaged(why);
}

// Reads what the put… functions wrote; anything missing or out of range is damage.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t fixed(int bytes) {
        need(static_cast<std::size_t>(bytes));
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[i])) << (8 * i);
        }
        bytes_.remove_prefix(static_cast<std::size_t>(bytes));
        return value;
    }
    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const auto byte = static_cast<unsigned char>(fixed(1));
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        damaged(localized("a number in it is malformed"));
    }
    std::string text() {
        const std::uint64_t size = varint();
        need(size);
        std::string result(bytes_.substr(0, size));
        bytes_.remove_prefix(size);
        return result;
    }
    bool atEnd() const { return bytes_.empty(); }

private:
    void need(std::uint64_t size) const {
        if (bytes_.size() < size) {
            damaged(localized("it is cut short"));
        }
    }

    std::string_view bytes_;
};

} // namespace morvane::journalbytes
