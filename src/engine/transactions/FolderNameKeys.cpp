#include "engine/transactions/FolderNameKeys.h"

#include "engine/support/NameKey.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace morvane {
namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101ull;

// The ASCII capitals among eight bytes, as the top bit of each. Only
// meaningful when every byte is ASCII.
std::uint64_t capitalsOf(std::uint64_t bytes) {
    const std::uint64_t fromA = bytes + kEachByte * (0x80 - 'A');
    const std::uint64_t afterZ = bytes + kEachByte * (0x7F - 'Z');
    return fromA & ~afterZ & kEachByte * 0x80;
}

struct Scan {
    std::uint64_t hash;
    bool isAscii;
    bool hasCapitals;
};

// One pass, eight bytes at a time, over a name: whether it is ASCII and has
// capitals, and the hash of its key if it is ASCII. With `LowerAscii`,
// capitals are lowered, in the hash and into `lowered` (room for max(8, size)
// bytes). The hash is a multiply-xorshift mix: names in a batch differ in a digit or
// two, and every bit of the result must depend on each of them because the
// table keeps only the low bits.
template <bool LowerAscii>
Scan scan(std::string_view text, char* lowered) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
    std::uint64_t bits = 0;
    std::uint64_t capitals = 0;
    const auto mix = [&](std::uint64_t bytes, std::size_t at) {
        bits |= bytes;
        if constexpr (LowerAscii) {
            const std::uint64_t found = capitalsOf(bytes);
            capitals |= found;
            bytes |= found >> 2; // 0x80 >> 2 is the case bit, 0x20
            std::memcpy(lowered + at, &bytes, 8);
        }
        hash = (hash ^ bytes) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    };
    if (text.size() >= 8) {
        std::size_t at = 0;
        for (; at + 8 <= text.size(); at += 8) {
            std::uint64_t bytes = 0;
            std::memcpy(&bytes, text.data() + at, 8);
            mix(bytes, at);
        }
        if (at < text.size()) {
            // The last eight, overlapping: the size is in the hash.
            std::uint64_t bytes = 0;
            std::memcpy(&bytes, text.data() + text.size() - 8, 8);
            mix(bytes, text.size() - 8);
        }
    } else {
        std::uint64_t bytes = 0;
        if (!text.empty()) {
            std::memcpy(&bytes, text.data(), text.size());
        }
        mix(bytes, 0);
    }
    hash *= 0xC4CEB9FE1A85EC53ull;
    hash ^= hash >> 29;
    const bool isAscii = (bits & kEachByte * 0x80) == 0;
    return Scan{hash ^ (hash >> 32), isAscii, isAscii && capitals != 0};
}

} // namespace

void FolderNameKeys::reset(bool caseSensitive, std::size_t expectedKeys) {
    caseSensitive_ = caseSensitive;
    keys_.clear();
    hashes_.clear();
    keys_.reserve(expectedKeys);
    hashes_.reserve(expectedKeys);
    // At most half full, so that probes stay short.
    slots_.assign(std::bit_ceil(std::max<std::size_t>(16, expectedKeys * 2)), 0);
    blocks_.clear();
    blockFree_ = nullptr;
    blockLeft_ = 0;
    // Many small folders must not each pay for a large block.
    blockSize_ = std::clamp<std::size_t>(expectedKeys * 16, 256, 64 * 1024);
}

std::uint32_t FolderNameKeys::number(std::string_view name) {
    const auto scanOf = [this](std::string_view text) {
        if (caseSensitive_) {
            return scan<false>(text, nullptr);
        }
        if (lowered_.size() < std::max<std::size_t>(8, text.size())) {
            lowered_.resize(std::max<std::size_t>(8, text.size()));
        }
        return scan<true>(text, lowered_.data());
    };
    const Scan scanned = scanOf(name);
    if (!scanned.isAscii) {
        const NameKey nameKey(name, caseSensitive_);
        const std::string& key = nameKey.text();
        if (key == name) {
            return numberOfKey(name, scanned.hash, false);
        }
        return numberOfKey(key, scanOf(key).hash, true);
    }
    if (caseSensitive_ || !scanned.hasCapitals) {
        return numberOfKey(name, scanned.hash, false);
    }
    return numberOfKey(std::string_view(lowered_.data(), name.size()), scanned.hash, true);
}

std::uint32_t FolderNameKeys::numberOfKey(std::string_view key, std::uint64_t hash, bool isCopy) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash) & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t number = slots_[slot] - 1;
        if (hashes_[number] == hash && keys_[number] == key) {
            return number;
        }
    }
    const auto number = static_cast<std::uint32_t>(keys_.size());
    keys_.push_back(isCopy ? store(key) : key);
    hashes_.push_back(hash);
    slots_[slot] = number + 1;
    if (keys_.size() * 2 > slots_.size()) {
        grow();
    }
    return number;
}

std::string_view FolderNameKeys::store(std::string_view key) {
    if (key.size() > blockLeft_) {
        const std::size_t size = std::max(blockSize_, key.size());
        blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
        blockFree_ = blocks_.back().get();
        blockLeft_ = size;
    }
    std::memcpy(blockFree_, key.data(), key.size());
    const std::string_view stored(blockFree_, key.size());
    blockFree_ += key.size();
    blockLeft_ -= key.size();
    return stored;
}

void FolderNameKeys::grow() {
    slots_.assign(slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t number = 0; number < keys_.size(); ++number) {
        std::size_t slot = static_cast<std::size_t>(hashes_[number]) & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = number + 1;
    }
}

} // namespace morvane
