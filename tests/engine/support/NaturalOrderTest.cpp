#include "engine/support/NaturalOrder.h"

#include <gtest/gtest.h>
#include <unicode/coll.h>

#include <algorithm>
#include <memory>
#include <random>

namespace morvane {
namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

// ICU's own answer, with none of the shortcuts NaturalOrder takes.
int referenceCompare(const std::string& a, const std::string& b) {
    UErrorCode status = U_ZERO_ERROR;
    static std::unique_ptr<icu::Collator> collator = [&] {
        std::unique_ptr<icu::Collator> created(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        created->setStrength(icu::Collator::SECONDARY);
        created->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        return created;
    }();
    const auto order =
        collator->compare(icu::UnicodeString::fromUTF8(a), icu::UnicodeString::fromUTF8(b), status);
    return order == UCOL_LESS ? -1 : (order == UCOL_GREATER ? 1 : 0);
}

// Sorting by keys (their first sixteen bytes first, then the rest) must give
// the order of comparing names one by one, stably, both ways: here with long
// names alike well past sixteen bytes, names equal but for case, and digit runs.
TEST(NaturalOrder, SortingGivesTheOrderOfComparingOneByOne) {
    std::mt19937 random(11);
    const std::vector<std::string> starts{"IMG_2024-07-01 Summer holiday ", "img_2024-07-01 summer holiday ",
                                          "IMG_2024-07-01 Summer", "a", ""};
    std::uniform_int_distribution<std::size_t> pickStart(0, starts.size() - 1);
    std::uniform_int_distribution<int> number(0, 120);
    for (const bool accented : {false, true}) {
        std::vector<std::pair<std::string, int>> values;
        for (int i = 0; i < 2000; ++i) {
            std::string name = starts[pickStart(random)] + std::to_string(number(random));
            if (i % 7 == 0) {
                name += accented ? "\u00e9" : "e";
            }
            values.emplace_back(name, i);
        }
        for (const bool descending : {false, true}) {
            auto expected = values;
            std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
                return descending ? NaturalOrder::compare(b.first, a.first) < 0
                                  : NaturalOrder::compare(a.first, b.first) < 0;
            });
            auto sorted = values;
            NaturalOrder::sort(
                sorted, [](const auto& value) -> const std::string& { return value.first; }, descending);
            EXPECT_EQ(sorted, expected)
                << (accented ? "accented" : "ASCII") << (descending ? ", descending" : "");
        }
    }
}

TEST(NaturalOrder, ReadsNumbersAndIgnoresCase) {
    EXPECT_LT(NaturalOrder::compare("file2", "file10"), 0);
    EXPECT_EQ(NaturalOrder::compare("IMG_0001", "img_1"), 0);
    EXPECT_LT(NaturalOrder::compare("a b", "ab"), 0);
    EXPECT_LT(NaturalOrder::compare("Item 2", "item 10"), 0);
    EXPECT_LT(NaturalOrder::compare("resume", "r\u00e9sum\u00e9"), 0); // accents count
    EXPECT_EQ(NaturalOrder::compare("R\u00c9SUM\u00c9", "r\u00e9sum\u00e9"), 0);
}

// The ASCII shortcut must give ICU's order exactly, or sorting would depend
// on whether a folder happens to hold an accented name.
TEST(NaturalOrder, AsciiShortcutAgreesWithTheCollator) {
    std::string alphabet;
    for (char c = 0x20; c <= 0x7E; ++c) {
        alphabet += c;
    }
    alphabet += "000111999aaAA__--..  ";
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 8);
    auto word = [&] {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += alphabet[pick(random)];
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string a = word();
        const std::string b = round % 3 == 0 ? a.substr(0, a.size() / 2) + word() : word();
        const int expected = referenceCompare(a, b);
        ASSERT_EQ(sign(NaturalOrder::compare(a, b)), expected) << '"' << a << "\" vs \"" << b << '"';
        const auto keys = NaturalOrder::sortKeys({a, b});
        ASSERT_EQ(sign(keys[0].compare(keys[1])), expected) << "keys of \"" << a << "\" vs \"" << b << '"';
    }
}

} // namespace
} // namespace morvane
