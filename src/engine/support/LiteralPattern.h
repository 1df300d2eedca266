#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A literal text to find in names, matched on whole user-perceived characters
// under canonical equivalence, optionally ignoring letter case (by full case
// folding). Occurrences are found left to right without overlapping.
class LiteralPattern {
public:
    LiteralPattern(std::string_view needle, bool caseSensitive);

    bool isEmpty() const { return needle_.empty(); }
    bool occursIn(std::string_view text) const;
    // `text` with every occurrence replaced by `replacement`; the inserted text
    // is not searched again.
    std::string replaceAll(std::string_view text, std::string_view replacement) const;
    // The pieces of `text` between occurrences: n occurrences give n + 1
    // pieces, empty ones included; an empty needle gives `text` whole.
    std::vector<std::string_view> split(std::string_view text) const;

private:
    struct Match {
        std::size_t start;
        std::size_t length;
    };
    // Byte ranges of the occurrences, at most `limit` of them.
    std::vector<Match> find(std::string_view text, std::size_t limit) const;
    std::vector<Match> findSimple(std::string_view text, std::size_t limit) const;
    std::vector<Match> findGraphemes(std::string_view text, std::size_t limit) const;
    std::string keyOf(std::string_view character) const;

    std::string needle_;
    bool caseSensitive_;
    bool simple_;
    mutable std::vector<std::string> needleKeys_; // computed on the first non-ASCII text
};

} // namespace morvane
