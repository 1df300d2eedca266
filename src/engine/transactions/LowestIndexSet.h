#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane {

// A set of the indices below a bound that finds its lowest member quickly and
// allocates nothing after `reset`: one bit per index, and one summary bit per
// 64-bit word of those telling whether the word has any bit set. Finding the
// lowest member reads at most one summary word per 4,096 indices, and fewer
// in practice, since the summary words before `firstLive_` are known empty.
class LowestIndexSet {
public:
    void reset(std::size_t bound) {
        words_.assign((bound + 63) / 64, 0);
        summary_.assign((words_.size() + 63) / 64, 0);
        count_ = 0;
        firstLive_ = 0;
    }

    bool empty() const { return count_ == 0; }

    void insert(std::size_t index) {
        std::uint64_t& word = words_[index / 64];
        const std::uint64_t bit = std::uint64_t{1} << (index % 64);
        if ((word & bit) == 0) {
            word |= bit;
            summary_[index / 4096] |= std::uint64_t{1} << (index / 64 % 64);
            firstLive_ = std::min(firstLive_, index / 4096);
            ++count_;
        }
    }

    void erase(std::size_t index) {
        std::uint64_t& word = words_[index / 64];
        const std::uint64_t bit = std::uint64_t{1} << (index % 64);
        if ((word & bit) != 0) {
            word &= ~bit;
            if (word == 0) {
                summary_[index / 4096] &= ~(std::uint64_t{1} << (index / 64 % 64));
            }
            --count_;
        }
    }

    // Only when not empty.
    std::size_t lowest() {
        while (summary_[firstLive_] == 0) {
            ++firstLive_;
        }
        const std::size_t word =
            firstLive_ * 64 + static_cast<std::size_t>(std::countr_zero(summary_[firstLive_]));
        return word * 64 + static_cast<std::size_t>(std::countr_zero(words_[word]));
    }

private:
    std::vector<std::uint64_t> words_;
    std::vector<std::uint64_t> summary_;
    std::size_t count_ = 0;
    std::size_t firstLive_ = 0; // no summary word before it has a bit set
};

} // namespace morvane
