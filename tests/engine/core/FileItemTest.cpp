#include "engine/core/FileItem.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(FileItem, DerivesIdAndParentNameFromTheDirectory) {
    struct Case {
        const char* directory;
        const char* id;
        const char* parent;
    };
    const Case cases[] = {
        {"/Users/me/Docs", "/Users/me/Docs/x.txt", "Docs"},
        {"", "x.txt", ""},
        {"/", "//x.txt", ""},
        {"/a//b/", "/a//b//x.txt", "b"},
    };
    for (const auto& c : cases) {
        const FileItem item("x.txt", c.directory, Date{}, Date{}, 1, false, true);
        EXPECT_EQ(item.id, c.id) << c.directory;
        EXPECT_EQ(item.parentName, c.parent) << c.directory;
    }
    const FileItem given("x", "/d", Date{}, Date{}, 0, false, true, "custom", "P");
    EXPECT_EQ(given.id, "custom");
    EXPECT_EQ(given.parentName, "P");
}

} // namespace
} // namespace morvane
