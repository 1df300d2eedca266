#include "engine/rules/CaseRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Mode = CaseRule::Mode;
using Ext = CaseRule::ExtensionMode;

TEST(CaseRule, TitleCaseCapitalizesAfterSpacesUnderscoresHyphensAndDots) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"the quick_brown-fox.jpg copy", "The Quick_Brown-Fox.Jpg Copy"},
        {"iPhone CASE", "Iphone Case"},
        {"2nd place", "2nd Place"},
        {"rock'n'roll", "Rock'n'roll"},
        {"(draft) notes", "(draft) Notes"},
        {"_-9a b", "_-9a B"},
        {"\u00e9t\u00e9\u3000\u00e0 paris", "\u00c9t\u00e9\u3000\u00c0 Paris"},
        {"stra\u00dfe \u00dfig", "Stra\u00dfe SSig"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaseRule::titleCased(c.input), c.expected) << c.input;
    }
}

TEST(CaseRule, AppliesModesToStemAndExtension) {
    struct Case {
        CaseRule rule;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {CaseRule(), "IMG_0001.JPG", "img_0001.jpg"},
        {CaseRule(Mode::sentence, Ext::same), "hELLO wORLD.Txt", "Hello world.Txt"},
        {CaseRule(Mode::sentence, Ext::same), "1st TRY", "1st try"},
        {CaseRule(Mode::sentence, Ext::same), "\u00e9COLE", "\u00c9cole"},
        {CaseRule(Mode::upper, Ext::same), "stra\u00dfe.txt", "STRASSE.txt"},
        {CaseRule(Mode::same, Ext::upper), "photo.jpg", "photo.JPG"},
        {CaseRule(Mode::same, Ext::upper), "README", "README"},
        {CaseRule(Mode::title, Ext::lower), "my trip.JPEG", "My Trip.jpeg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testing::applied(c.rule, c.name), c.expected) << c.name;
    }
}

} // namespace
} // namespace morvane
