#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The order a file browser lists names in: letter case ignored, accents
// counted, digit runs compared by value ("file2" before "file10"). It is ICU's
// root collation at secondary strength with numeric ordering; names made of
// printable ASCII, which is most of them, are compared without ICU but by the
// same weights, which are read from ICU once.
class NaturalOrder {
public:
    // Negative, zero or positive, as `a` sorts before, with or after `b`.
    static int compare(std::string_view a, std::string_view b);

    // Keys whose plain byte comparison gives this order, one per name. The
    // keys of one call compare with each other only: a list of plain ASCII
    // names gets short keys made here, any other list ICU's sort keys.
    static std::vector<std::string> sortKeys(const std::vector<std::string_view>& names);

    // Sorts `values` stably by the natural order of `nameOf(value)`.
    template <typename T, typename NameOf>
    static void sort(std::vector<T>& values, NameOf nameOf, bool descending = false) {
        std::vector<std::string_view> names;
        names.reserve(values.size());
        for (const T& value : values) {
            names.push_back(nameOf(value));
        }
        const std::vector<std::string> keys = sortKeys(names);
        std::vector<std::size_t> order(values.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        auto before = [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        };
        // Listings often come sorted already; checking costs one comparison per value.
        if (std::is_sorted(order.begin(), order.end(), before)) {
            return;
        }
        std::stable_sort(order.begin(), order.end(), before);
        std::vector<T> sorted;
        sorted.reserve(values.size());
        for (const std::size_t index : order) {
            sorted.push_back(std::move(values[index]));
        }
        values = std::move(sorted);
    }
};

} // namespace morvane
