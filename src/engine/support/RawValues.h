#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace morvane {

// Enumerations that are stored or exchanged carry string raw values. Each one
// keeps its raw values in an array in declaration order; these two helpers
// convert both ways (an unknown string gives no value, never an error).
template <typename Enum, std::size_t N>
std::string_view rawValueIn(const std::array<std::string_view, N>& raws, Enum value) {
    return raws[static_cast<std::size_t>(value)];
}

template <typename Enum, std::size_t N>
std::optional<Enum> enumFromRawValue(const std::array<std::string_view, N>& raws, std::string_view raw) {
    for (std::size_t i = 0; i < N; ++i) {
        if (raws[i] == raw) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

} // namespace morvane
