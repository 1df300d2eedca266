#include "engine/support/Unicode.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvane::unicode {
namespace {

// "é" precomposed and as "e" + combining acute.
const std::string kComposed = "\u00e9";
const std::string kDecomposed = "e\u0301";

// The checks read whole words; what gives a name away may sit anywhere.
TEST(Unicode, AsciiChecksSeeEveryByte) {
    struct Case {
        std::string text;
        bool ascii;
        bool simple;
    };
    const std::string sixteen = "IMG_0001 ab.JPG_";
    const Case cases[] = {
        {"", true, true},
        {sixteen, true, true},
        {"\xC3\xA9" + sixteen, false, false},
        {sixteen.substr(0, 7) + "\xFF" + sixteen, false, false},
        {sixteen.substr(0, 8) + "\x80" + sixteen, false, false},
        {sixteen + sixteen.substr(0, 7) + "\xE2", false, false},
        {sixteen + "\r", true, false},
        {sixteen.substr(0, 15) + "\r" + sixteen, true, false},
        {"\r" + sixteen, true, false},
        {sixteen + "\x7F\x01", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isAscii(c.text), c.ascii) << c.text;
        EXPECT_EQ(isSimpleAscii(c.text), c.simple) << c.text;
    }
}

TEST(Unicode, CaseMappingIsFullAndLocaleIndependent) {
    EXPECT_EQ(toUpper("stra\u00dfe"), "STRASSE");
    EXPECT_EQ(toLower("\u0130"), "i\u0307"); // dotted capital I keeps its dot as a mark
    EXPECT_EQ(toUpper("i"), "I");            // never the Turkish dotted capital
    EXPECT_EQ(toLower("\u00c9COLE"), "\u00e9cole");
}

TEST(Unicode, CanonicalEquivalence) {
    EXPECT_TRUE(canonicallyEqual(kComposed, kDecomposed));
    EXPECT_TRUE(canonicallyEqual("\u212A", "K")); // Kelvin sign decomposes to K
    EXPECT_FALSE(canonicallyEqual("e", kComposed));
    EXPECT_FALSE(canonicallyEqual("a", "A"));
    EXPECT_EQ(nfc("caf" + kDecomposed), "caf" + kComposed);
}

TEST(Unicode, CanonicalEquivalenceAcrossChangesNextToOtherCharacters) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"Caf\u00e9 1", "Caf\u00e9 2", false},
        {"Cafe\u0301 1", "Caf\u00e9 1", true},
        {"000_Cafe\u0301", "Cafe\u0301", false},
        {"Cafe\u0301", "Cafe\u0301-20240305", false},
        {"x" + kDecomposed + "-1", "x" + kComposed + "-1", true},
        {"a\u0301", "b\u0301", false},
        {"e\u0301", "ee\u0301", false},
        {"a\u0301b", "\u00e1b", true},
        {"a\u0323\u0301", "a\u0301\u0323", true},
        {"\xFF a", "\xFF b", false},
    };
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(canonicallyEqual(a, b), equal) << a << " / " << b;
        EXPECT_EQ(canonicallyEqual(b, a), equal) << b << " / " << a;
    }
}

TEST(Unicode, CharacterProperties) {
    EXPECT_TRUE(isHorizontalSpace(U'\u00a0'));
    EXPECT_FALSE(isHorizontalSpace(U'\n'));
    EXPECT_TRUE(isValidUtf8("caf\u00e9"));
    EXPECT_FALSE(isValidUtf8("caf\xe9"));
    EXPECT_EQ(firstCodePoint("\xff"), U'\uFFFD');
}

} // namespace
} // namespace morvane::unicode
