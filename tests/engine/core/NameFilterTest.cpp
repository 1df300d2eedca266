#include "engine/core/NameFilter.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(NameFilter, MatchesIgnoringCaseAndDiacritics) {
    struct Case {
        const char* name;
        const char* query;
        bool expected;
    };
    const Case cases[] = {
        {"R\u00e9sum\u00e9.pdf", " resume\t", true},
        {"Resume.pdf", "R\u00c9SUM\u00c9", true},
        {"Re\u0301sume\u0301.pdf", "sum\u00e9.P", true},
        {"Stra\u00dfe", "STRASSE", true},
        {"na\u00efve", "naive", true},
        {"report.txt", "   ", true},
        {"report.txt", "", true},
        {"report.txt", "rep ort", false},
        {"report.txt", "\nreport", false},
        {"a.txt", "b", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameFilter::matches(c.name, c.query), c.expected) << c.name << " / " << c.query;
    }
    std::vector<FileItem> items{FileItem("Caf\u00e9.txt", "/d", {}, {}, 0, false, true),
                                FileItem("tea.txt", "/d", {}, {}, 0, false, true),
                                FileItem("cafe.md", "/d", {}, {}, 0, false, false)};
    const auto filtered = NameFilter::apply(" CAFE ", items);
    ASSERT_EQ(filtered.size(), 3u);
    EXPECT_EQ(std::vector({filtered[0].isIncluded, filtered[1].isIncluded, filtered[2].isIncluded}),
              std::vector({true, false, false}));
}

// Below an opened folder an item is also found by its folder written from
// there; the opened folder's own name, and the path above it, find nothing.
TEST(NameFilter, WithARootItemsAlsoMatchByTheirFolder) {
    std::vector<FileItem> items{FileItem("a.jpg", "/home/Trip", {}, {}, 0, false, true),
                                FileItem("b.jpg", "/home/Trip/R\u00f6me 2024", {}, {}, 0, false, true),
                                FileItem("c.jpg", "/home/Trip/R\u00f6me 2024/day 1", {}, {}, 0, false, true),
                                FileItem("d.jpg", "/home/Trip/Paris", {}, {}, 0, false, false),
                                FileItem("rome.jpg", "/home/Trip/Paris", {}, {}, 0, false, true)};
    const auto included = [](const std::vector<FileItem>& filtered) {
        std::string result;
        for (const auto& item : filtered) {
            result += item.isIncluded ? item.name.substr(0, 1) : "";
        }
        return result;
    };
    EXPECT_EQ(included(NameFilter::apply("ROME", items, "/home/Trip")), "bcr");
    EXPECT_EQ(included(NameFilter::apply("rome", items)), "r");
    EXPECT_EQ(included(NameFilter::apply("2024/day", items, "/home/Trip")), "c");
    EXPECT_EQ(included(NameFilter::apply("trip", items, "/home/Trip")), "");
}

} // namespace
} // namespace morvane
