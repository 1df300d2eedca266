#include "engine/core/FileName.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct SplitCase {
    const char* name;
    const char* stem;
    const char* ext;
};

TEST(FileName, SplitsAtTheLastDotThatIsNeitherFirstNorLast) {
    const SplitCase cases[] = {
        {"report.final.pdf", "report.final", "pdf"},
        {".bashrc", ".bashrc", ""},
        {"notes.", "notes.", ""},
        {"README", "README", ""},
        {"..", "..", ""},
        {"..b", ".", "b"},
        {"", "", ""},
        {"Photos.2023", "Photos", "2023"},
        // A dot carrying a combining mark is another character, not a separator.
        {"a.b\u0301c", "a", "b\u0301c"},
        {"ab.\u0301c", "ab.\u0301c", ""},
        {"caf\u00e9.t\u00e4r", "caf\u00e9", "t\u00e4r"},
    };
    for (const auto& c : cases) {
        const FileName name = FileName::parsing(c.name);
        EXPECT_EQ(name.stem, c.stem) << c.name;
        EXPECT_EQ(name.ext, c.ext) << c.name;
        EXPECT_EQ(name.full(), c.name) << c.name;
    }
    // A rule may empty the stem: the extension still follows a dot.
    EXPECT_EQ((FileName{"", "txt"}.full()), ".txt");
}

} // namespace
} // namespace morvane
