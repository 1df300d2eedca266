#include "engine/support/Crc32.h"

#include <array>

namespace morvane {
namespace {

// Four tables, so that four bytes are folded in per step ("slicing by four").
using Tables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr Tables makeTables() {
    Tables tables{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        tables[0][byte] = crc;
    }
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        for (std::size_t t = 1; t < 4; ++t) {
            tables[t][byte] = (tables[t - 1][byte] >> 8) ^ tables[0][tables[t - 1][byte] & 0xFF];
        }
    }
    return tables;
}

constexpr Tables kTables = makeTables();

} // namespace

std::uint32_t Crc32::of(std::string_view bytes, std::uint32_t previous) {
    std::uint32_t crc = ~previous;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    for (; left >= 4; left -= 4, data += 4) {
        // Byte by byte, so that the result does not depend on the machine's byte order.
        crc ^= static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
               static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        crc = kTables[3][crc & 0xFF] ^ kTables[2][(crc >> 8) & 0xFF] ^ kTables[1][(crc >> 16) & 0xFF] ^
              kTables[0][crc >> 24];
    }
    for (; left > 0; --left, ++data) {
        crc = (crc >> 8) ^ kTables[0][(crc ^ *data) & 0xFF];
    }
    return ~crc;
}

} // namespace morvane
