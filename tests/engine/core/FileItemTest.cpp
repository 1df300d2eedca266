#include "engine/core/FileItem.h"

#include "engine/core/RuleKind.h"

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

TEST(RuleKind, RawValuesAndOrder) {
    EXPECT_EQ(ruleKindFromRawValue("case"), RuleKind::letterCase);
    EXPECT_EQ(ruleKindFromRawValue("letterCase"), std::nullopt);
    EXPECT_EQ(ruleKindFromRawValue("template"), RuleKind::template_);
    std::vector<std::string> raws;
    for (const RuleKind kind : allRuleKinds) {
        raws.emplace_back(rawValue(kind));
    }
    EXPECT_EQ(raws, (std::vector<std::string>{"name", "segment", "replace", "regex", "remove", "add",
                                              "counter", "date", "folder", "template", "case"}));
    EXPECT_EQ(title(RuleKind::segment), "Name Segment");
}

} // namespace
} // namespace morvane
