#include "engine/transactions/FolderNameKeys.h"

#include "engine/support/NameKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

// The planner's keys are the plan's: what the plan flags as one name, the
// planner orders as one name. Short and long names (the key is read eight
// bytes at a time), capitals in the last, overlapping eight, composed and
// decomposed accents, the Kelvin sign, sigmas and dotted and dotless capital I.
TEST(FolderNameKeys, NumberNamesByTheirNameKeys) {
    const std::vector<std::string> names{"IMG_0001.JPG",
                                         "img_0001.jpg",
                                         "Holiday at the Sea.JPEG",
                                         "holiday at the sea.jpeg",
                                         "\u00C9t\u00E9",
                                         "e\u0301t\u00E9",
                                         "\u00E9t\u00E9",
                                         "\u212A",
                                         "k",
                                         "K",
                                         "a",
                                         "\u039F\u0394\u039F\u03A3",
                                         "\u03BF\u03B4\u03BF\u03C3",
                                         "\u03BF\u03B4\u03BF\u03C2",
                                         "\u0130",
                                         "i\u0307",
                                         "I"};
    for (const bool caseSensitive : {true, false}) {
        FolderNameKeys keys;
        keys.reset(caseSensitive, names.size());
        for (std::size_t a = 0; a < names.size(); ++a) {
            for (std::size_t b = 0; b < names.size(); ++b) {
                EXPECT_EQ(keys.number(names[a]) == keys.number(names[b]),
                          NameKey(names[a], caseSensitive) == NameKey(names[b], caseSensitive))
                    << names[a] << " " << names[b] << " " << caseSensitive;
            }
        }
    }
}

TEST(FolderNameKeys, KeepsItsNumbersPastTheExpectedCountAndForgetsThemOnReset) {
    FolderNameKeys keys;
    keys.reset(false, 1);
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i) {
        names.push_back("Photo " + std::to_string(i) + ".JPG");
    }
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(keys.number(names[i]), i) << names[i];
    }
    EXPECT_EQ(keys.number("PHOTO 999.jpg"), 999u);
    EXPECT_EQ(keys.number("photo 0.jpg"), 0u);
    EXPECT_EQ(keys.size(), 1000u);

    keys.reset(true, 1);
    EXPECT_EQ(keys.number("PHOTO 999.jpg"), 0u);
    EXPECT_EQ(keys.number("Photo 999.JPG"), 1u);
}

} // namespace
} // namespace morvane
