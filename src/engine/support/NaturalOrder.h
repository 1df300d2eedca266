#pragma once

#include <algorithm>
#include <cstdint>
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

    // The positions of `names` in their natural order (stable; descending
    // keeps equal names in their order too). The keys are made once, into
    // one block, and compared by their first sixteen bytes as two integers
    // before the rest, if any, is looked at.
    static std::vector<std::uint32_t> order(const std::vector<std::string_view>& names,
                                            bool descending = false);

    // Sorts `values` stably by the natural order of `nameOf(value)`, moving
    // each value once, in place.
    template <typename T, typename NameOf>
    static void sort(std::vector<T>& values, NameOf nameOf, bool descending = false) {
        std::vector<std::uint32_t> positions;
        {
            std::vector<std::string_view> names;
            names.reserve(values.size());
            for (const T& value : values) {
                names.push_back(nameOf(value));
            }
            positions = order(names, descending);
        }
        // Each cycle of the permutation is followed once; a place filled is
        // marked by pointing at itself.
        for (std::uint32_t start = 0; start < positions.size(); ++start) {
            if (positions[start] == start) {
                continue;
            }
            T held = std::move(values[start]);
            std::uint32_t at = start;
            while (positions[at] != start) {
                const std::uint32_t from = positions[at];
                values[at] = std::move(values[from]);
                positions[at] = at;
                at = from;
            }
            values[at] = std::move(held);
            positions[at] = at;
        }
    }
};

} // namespace morvane
