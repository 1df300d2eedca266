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

} // namespace
} // namespace morvane
