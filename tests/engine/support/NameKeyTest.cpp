#include "engine/support/NameKey.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(NameKey, ComposesAlwaysAndLowersOnlyWhereCaseIsIgnored) {
    const NameKey decomposed("CAFE\u0301.TXT", false);
    EXPECT_EQ(decomposed.text(), "caf\u00e9.txt");
    EXPECT_EQ(decomposed, NameKey("Caf\u00e9.txt", false));
    EXPECT_EQ(NameKey("Cafe\u0301", true).text(), "Caf\u00e9");
    EXPECT_NE(NameKey("Report", true), NameKey("report", true));
    EXPECT_EQ(NameKey("\u212A", false).text(), "k"); // the Kelvin sign composes to K
    EXPECT_EQ(NameKey("\u212A", true), NameKey("K", true));
    // Each character is lowered on its own: no final sigma, a dotted capital I
    // keeps its dot as a mark.
    EXPECT_EQ(NameKey("\u039F\u0394\u039F\u03A3", false).text(), "\u03BF\u03B4\u03BF\u03C3");
    EXPECT_EQ(NameKey("\u03A3.\u03A3\u03A3", false).text(), "\u03C3.\u03C3\u03C3");
    EXPECT_EQ(NameKey("\u0130", false).text(), "i\u0307");
}

TEST(NameKey, TellsWhetherANameHasIt) {
    const NameKey ascii("report.txt", false);
    EXPECT_TRUE(ascii.isKeyOf("Report.TXT"));
    EXPECT_FALSE(ascii.isKeyOf("report.txt "));
    EXPECT_FALSE(NameKey("report.txt", true).isKeyOf("Report.txt"));
    const NameKey accented("\u00e9t\u00e9", false);
    EXPECT_TRUE(accented.isKeyOf("E\u0301T\u00c9"));
    EXPECT_FALSE(accented.isKeyOf("ete"));
}

} // namespace
} // namespace morvane
