#pragma once

#include <cstdint>
#include <string_view>

namespace morvane {

// CRC-32 (the polynomial of zlib, PNG and Ethernet), for records that must
// tell a torn or damaged write from a whole one.
class Crc32 {
public:
    // The checksum of `bytes`, continuing from `previous` (the checksum of
    // what came before them; 0 to start).
    static std::uint32_t of(std::string_view bytes, std::uint32_t previous = 0);
};

} // namespace morvane
