#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

// Which of a translation's plural forms goes with a number, as a gettext
// catalogue's "Plural-Forms" header says: "nplurals=3; plural=(n%10==1 &&
// n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);".
// The formula is C: n, decimal numbers, parentheses, ! * / % + - < <= > >=
// == != && || and ?:.
class PluralFormula {
public:
    // English and most Western European languages: one form for 1, the other
    // for every other number.
    PluralFormula();

    // From the value of a "Plural-Forms" header; nothing when it cannot be read.
    static std::optional<PluralFormula> parse(std::string_view header);

    std::size_t formCount() const { return formCount_; }
    // The index of the form for `n`: always below formCount().
    std::size_t formFor(std::uint64_t n) const;

private:
    struct Node {
        enum class Op {
            number,
            n,
            negate,
            multiply,
            divide,
            remainder,
            add,
            subtract,
            less,
            lessEqual,
            greater,
            greaterEqual,
            equal,
            notEqual,
            both,
            either,
            choose,
        };
        Op op;
        std::uint64_t value = 0; // number only
        int first = -1, second = -1, third = -1;
    };
    friend class PluralFormulaParser;

    std::uint64_t evaluate(int node, std::uint64_t n) const;

    std::vector<Node> nodes_;
    int root_ = 0;
    std::size_t formCount_ = 2;
};

} // namespace morvane
