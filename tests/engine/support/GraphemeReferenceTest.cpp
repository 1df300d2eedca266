#include "engine/support/Unicode.h"

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include <memory>
#include <random>

namespace morvane::unicode {
namespace {

// Cluster lengths (in UTF-16 units) straight from ICU's break iterator on the
// whole text, with none of the shortcuts `graphemes` takes.
std::vector<std::string> referenceClusters(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
    breaks->setText(utf16);
    std::vector<std::string> clusters;
    int32_t start = breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; start = end, end = breaks->next()) {
        std::string cluster;
        utf16.tempSubStringBetween(start, end).toUTF8String(cluster);
        clusters.push_back(cluster);
    }
    return clusters;
}

std::vector<std::string> fastClusters(const std::string& text) {
    const auto views = graphemes(text);
    return {views.begin(), views.end()};
}

// Pieces that exercise every joining rule next to plain letters.
const std::vector<std::string> kPieces{
    "a",          "Z",          " ",      ".",          "\r",
    "\n",         "\t",         "\u00e9", "\u00df",     "\u0301", // combining acute
    "\u200D",                                                     // zero-width joiner
    "\U0001F1EB", "\U0001F1F7",                                   // regional indicators
    "\U0001F468", "\U0001F3FD",                                   // emoji and skin tone
    "\u1100",     "\u1161",     "\u11A8", "\uAC00",               // Hangul jamo L V T, syllable LV
    "\u0600",                                                     // prepended concatenation mark
    "\u0903",                                                     // spacing mark
    "\u0915",     "\u094D",                                       // Devanagari ka, virama
    "\uFE0F",     "\u2764",     "\u4E2D", "\U0001F600",
};

// graphemeCount takes its own shortcut for plain ASCII; it must agree too.
TEST(Graphemes, AgreeWithTheBreakIteratorOnTrickyText) {
    const std::vector<std::string> fixed{
        "",
        "ab",
        "a\r\nb",
        "\U0001F468\u200D\U0001F469\u200D\U0001F467",
        "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA",
        "\u1100\u1161\u11A8x",
        "a\u200Db",
        "\u06001a",
        "\u00e9\r\nx",
        "\u0915\u094D\u0937",
        "caf\u00e9 IMG_001.JPG",
        "\U0001F468\u200D\U0001F469 ok",
    };
    for (const auto& text : fixed) {
        EXPECT_EQ(fastClusters(text), referenceClusters(text)) << text;
        EXPECT_EQ(graphemeCount(text), referenceClusters(text).size()) << text;
    }
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 12);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += kPieces[pick(random)];
        }
        const auto reference = referenceClusters(text);
        ASSERT_EQ(fastClusters(text), reference) << text;
        ASSERT_EQ(graphemeCount(text), reference.size()) << text;
    }
}

} // namespace
} // namespace morvane::unicode
