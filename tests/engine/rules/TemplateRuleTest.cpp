#include "engine/rules/TemplateRule.h"

#include "engine/core/RenamePipeline.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <tuple>

namespace morvane {
namespace {

TEST(TemplateRule, ExpandsTokensAndCopiesEverythingElseLiterally) {
    const FileItem item("x.jpg", "/trips/Rome", testing::utc(2023, 1, 2), testing::utc(2024, 3, 5, 12), 0,
                        false, true);
    const std::tuple<std::string, std::int64_t, std::string> cases[] = {
        {"{date:yyyyMMdd}_{parent}_{counter:000}", 2, "20240305_Rome_003.jpg"},
        {"{NAME}-{Ext}", 0, "x-jpg.jpg"},
        {"{counter}|{counter:00}|{counter:0000}", 11, "12|12|0012.jpg"},
        {"{counter:0a}{counter:}{date:}{size}{name:x}", 0, "{counter:0a}{counter:}{date:}{size}{name:x}.jpg"},
        {"{date:HH:mm}", 0, "12:00.jpg"},
        {"{modified} {created} {created:yyyy}", 0, "2024-03-05 2023-01-02 2023.jpg"},
        {"a{b", 0, "a{b.jpg"},
        {"{a{name}", 0, "{ax.jpg"},
        {"}{name}{", 0, "}x{.jpg"},
        // A brace carrying a combining mark is another character, not a brace.
        {"\u00E9{\u0301name}", 0, "\u00E9{\u0301name}.jpg"},
        {"", 0, ".jpg"},
        // However many zeros, the counter stops at a width no name can have.
        {"{counter:" + std::string(100'000, '0') + "}", 0, std::string(255, '0') + "1.jpg"},
    };
    for (const auto& [templateText, index, expected] : cases) {
        EXPECT_EQ(testing::applied(TemplateRule{templateText, "UTC"}, "x.jpg", index, item), expected)
            << templateText.substr(0, 40);
    }
}

// {counter} follows the rule's numbering: the run's, or each folder's own.
TEST(TemplateRule, CounterCanStartAgainInEachFolder) {
    std::vector<FileItem> items;
    for (const auto& [name, folder] : {std::pair{"a", "/x"}, {"b", "/y"}, {"c", "/x"}}) {
        items.emplace_back(name, folder, Date{}, Date{}, 0, false, true);
    }
    const auto names = [&](const TemplateRule& rule) {
        std::vector<std::string> result;
        for (const auto& entry : RenamePipeline({makeStep(rule)}).plan(items).entries) {
            result.push_back(entry.newName);
        }
        return result;
    };
    EXPECT_EQ(names(TemplateRule("{name}{counter:00}", std::nullopt)),
              (std::vector<std::string>{"a01", "b02", "c03"}));
    EXPECT_EQ(names(TemplateRule("{name}{counter:00}", std::nullopt, true)),
              (std::vector<std::string>{"a01", "b01", "c02"}));
    const TemplateRule perFolder("{name}", "UTC", true);
    EXPECT_EQ(nlohmann::json(perFolder).get<TemplateRule>(), perFolder);
    EXPECT_FALSE(nlohmann::json(TemplateRule()).contains("perFolder"));
}

TEST(TemplateRule, NeedsDetailsOnlyToWriteDates) {
    EXPECT_TRUE(TemplateRule().needsDetails());
    EXPECT_TRUE(TemplateRule("{name} {Created:yyyy}", std::nullopt).needsDetails());
    EXPECT_TRUE(TemplateRule("{MODIFIED}", std::nullopt).needsDetails());
    EXPECT_FALSE(TemplateRule("{name} {counter:000} {parent} {ext} date", std::nullopt).needsDetails());
}

} // namespace
} // namespace morvane
