#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

// Where each name of a list is, in an open-addressing table of positions: a
// large folder's listing, asked after once per item all over the table. Each
// slot keeps the high half of the name's hash beside the position, so that
// most names not listed are told apart without reading any listed name. The
// list itself stays with the caller, who hands its names in by position.
class NameIndex {
public:
    NameIndex() = default;

    template <typename NameAt>
    NameIndex(std::size_t count, NameAt nameAt) {
        std::size_t size = 16;
        while (size < 2 * count) {
            size *= 2;
        }
        slots_.assign(size, 0);
        for (std::size_t position = 0; position < count; ++position) {
            const std::uint64_t hash = hashOf(nameAt(position));
            std::size_t slot = hash & (size - 1);
            while (slots_[slot] != 0) {
                slot = (slot + 1) & (size - 1);
            }
            slots_[slot] = (hash & kTag) | (position + 1);
        }
    }

    // The position of `name` (the first, if the list holds it twice).
    template <typename NameAt>
    std::optional<std::size_t> find(std::string_view name, NameAt nameAt) const {
        if (slots_.empty()) {
            return std::nullopt;
        }
        const std::size_t mask = slots_.size() - 1;
        const std::uint64_t hash = hashOf(name);
        for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
            const std::size_t position = (slots_[slot] & ~kTag) - 1;
            if ((slots_[slot] & kTag) == (hash & kTag) && nameAt(position) == name) {
                return position;
            }
        }
        return std::nullopt;
    }

private:
    static constexpr std::uint64_t kTag = 0xFFFFFFFF00000000ULL;

    static std::uint64_t hashOf(std::string_view name) {
        const std::uint64_t hash = std::hash<std::string_view>{}(name);
        return hash ^ (hash >> 29);
    }

    std::vector<std::uint64_t> slots_;
};

} // namespace morvane
