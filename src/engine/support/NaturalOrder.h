#pragma once

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The order a file browser lists names in: letter case ignored, accents
// counted, digit runs compared by value ("file2" before "file10").
class NaturalOrder {
public:
    // A byte string whose plain comparison gives the natural order; compute it
    // once per name when sorting many.
    static std::string sortKey(std::string_view name);

    // Sorts `values` stably by the natural order of `nameOf(value)`.
    template <typename T, typename NameOf>
    static void sort(std::vector<T>& values, NameOf nameOf, bool descending = false) {
        std::vector<std::string> keys;
        keys.reserve(values.size());
        for (const T& value : values) {
            keys.push_back(sortKey(nameOf(value)));
        }
        std::vector<std::size_t> order(values.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        });
        std::vector<T> sorted;
        sorted.reserve(values.size());
        for (const std::size_t index : order) {
            sorted.push_back(std::move(values[index]));
        }
        values = std::move(sorted);
    }
};

} // namespace morvane
