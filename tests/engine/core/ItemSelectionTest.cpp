#include "engine/core/ItemSelection.h"

#include "engine/core/PlanSummary.h"
#include "engine/core/RenamePipeline.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/filesystem/ItemsFromPaths.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/testing/Items.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Field = ItemOrder::Field;

FileItem file(const char* name, const char* directory, long long modified, std::int64_t size) {
    const Date date{std::chrono::seconds(modified)};
    return FileItem(name, directory, date, date, size, false, true);
}

std::vector<std::string> names(const std::vector<FileItem>& items) {
    std::vector<std::string> result;
    for (const auto& item : items) {
        result.push_back(item.name);
    }
    return result;
}

const std::vector<FileItem> kItems{file("b10.txt", "/x", 3, 5), file("B2.jpg", "/y", 1, 5),
                                   file("a.txt", "/y", 2, 9), file("c", "/x", 2, 1)};

TEST(ItemOrder, SortsByEachFieldWithNameAsAscendingTieBreak) {
    struct Case {
        ItemOrder order;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{Field::name, true}, {"a.txt", "B2.jpg", "b10.txt", "c"}},
        {{Field::name, false}, {"c", "b10.txt", "B2.jpg", "a.txt"}},
        {{Field::kind, true}, {"c", "B2.jpg", "a.txt", "b10.txt"}},
        {{Field::modified, false}, {"b10.txt", "a.txt", "c", "B2.jpg"}},
        // Equal sizes tie-break by name ascending, even in a descending sort.
        {{Field::size, false}, {"a.txt", "B2.jpg", "b10.txt", "c"}},
        {{Field::path, true}, {"b10.txt", "c", "a.txt", "B2.jpg"}},
    };
    for (const auto& c : cases) {
        auto items = kItems;
        c.order.sort(items);
        EXPECT_EQ(names(items), c.expected) << rawValue(c.order.field) << " " << c.order.ascending;
    }
}

// Names that differ only in letter case compare equal in a file browser's
// order; the exact text decides between them, so a counter numbers them
// alike whatever order the folder listed them in.
TEST(ItemOrder, NamesDifferingOnlyInLetterCaseHaveADefiniteOrder) {
    for (const bool ascending : {true, false}) {
        for (const Field field : {Field::name, Field::kind, Field::size, Field::path}) {
            const ItemOrder order{field, ascending};
            auto listed = std::vector{file("a.txt", "/x", 0, 1), file("A.txt", "/x", 0, 1)};
            auto reversed = std::vector{listed[1], listed[0]};
            order.sort(listed);
            order.sort(reversed);
            EXPECT_EQ(names(listed), names(reversed)) << rawValue(field) << " " << ascending;
            EXPECT_NE(order.areInOrder(listed[0], listed[1]), order.areInOrder(listed[1], listed[0]));
        }
    }
    auto byName = std::vector{file("a.txt", "/x", 0, 1), file("A.txt", "/x", 0, 1)};
    ItemOrder{Field::name, false}.sort(byName);
    EXPECT_EQ(names(byName), (std::vector<std::string>{"a.txt", "A.txt"}));
    ItemOrder{Field::name, true}.sort(byName);
    EXPECT_EQ(names(byName), (std::vector<std::string>{"A.txt", "a.txt"}));
}

// Items usually arrive already in ascending name order, as a folder is listed.
TEST(ItemOrder, DescendingReversesNameAndPathOrderOfAListInAscendingOrder) {
    const std::vector<FileItem> listed{file("a", "/x", 0, 0), file("b", "/x", 0, 0), file("c", "/y", 0, 0),
                                       file("d", "/y", 0, 0)};
    auto byName = listed;
    ItemOrder{Field::name, false}.sort(byName);
    EXPECT_EQ(names(byName), (std::vector<std::string>{"d", "c", "b", "a"}));
    auto byPath = listed;
    ItemOrder{Field::path, false}.sort(byPath);
    EXPECT_EQ(names(byPath), (std::vector<std::string>{"d", "c", "b", "a"}));
    auto oneFolder = testing::items({"a", "b", "c"});
    ItemOrder{Field::path, false}.sort(oneFolder);
    EXPECT_EQ(names(oneFolder), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(ItemSelection, UncheckedAndFilteredItemsStayButAreExcluded) {
    ItemSelection selection;
    selection.unchecked = {"/x/c"};
    selection.searchText = "B";
    const auto items = selection.effectiveItems(kItems);
    ASSERT_EQ(names(items), (std::vector<std::string>{"a.txt", "B2.jpg", "b10.txt", "c"}));
    EXPECT_FALSE(items[0].isIncluded); // hidden by the search
    EXPECT_TRUE(items[1].isIncluded);
    EXPECT_TRUE(items[2].isIncluded);
    EXPECT_FALSE(items[3].isIncluded); // unchecked

    const RenamePipeline pipeline({makeStep(ReplaceRule("b", "a", false))});
    const auto summary = PlanSummary::of(pipeline.plan(items));
    // "b10.txt" becomes "a10.txt"; "B2.jpg" becomes "a2.jpg": no clash with the excluded "a.txt".
    EXPECT_EQ(summary, (PlanSummary{4, 2, 2, 0, {}}));
    const auto clash = PlanSummary::of(RenamePipeline({makeStep(ReplaceRule("10", "", false))})
                                           .plan({file("b10", "/x", 0, 0), file("b", "/x", 0, 0)}));
    EXPECT_EQ(clash.conflictIds, (std::vector<std::string>{"/x/b10", "/x/b"}));
}

TEST(ItemsFromPaths, ReadsEachPickedEntryAndKeepsTheGivenOrder) {
    InMemoryFileSystem fileSystem(true);
    fileSystem.addDirectory("/p");
    fileSystem.addFile("/p/one.txt", Date{std::chrono::seconds(5)}, Date{std::chrono::seconds(6)}, 42);
    fileSystem.addDirectory("/p/sub");
    const auto items = itemsFromPaths(fileSystem, {"/p/sub", "/p/one.txt", "/p/gone.txt"});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].isDirectory);
    EXPECT_EQ(items[1], FileItem("one.txt", "/p", Date{std::chrono::seconds(5)},
                                 Date{std::chrono::seconds(6)}, 42, false, true));
    EXPECT_EQ(items[2], FileItem("gone.txt", "/p", Date{}, Date{}, 0, false, true));
    EXPECT_EQ(items[2].parentName, "p");
}

TEST(ItemsFromPaths, PathsNamingOneEntryGiveOneItem) {
    InMemoryFileSystem fileSystem(true);
    fileSystem.addFile("/p/one.txt");
    fileSystem.addFile("/p/One.txt");
    const auto items = itemsFromPaths(
        fileSystem, {"/p/./one.txt", "/p/one.txt/", "/q/../p/one.txt", "/p//one.txt", "/p/One.txt"});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, "/p/one.txt");
    EXPECT_EQ(items[0].directory, "/p");
    EXPECT_EQ(items[1].id, "/p/One.txt");
    // A volume that ignores letter case holds these as one entry.
    InMemoryFileSystem caseless(false);
    caseless.addFile("/p/one.txt");
    EXPECT_EQ(itemsFromPaths(caseless, {"/p/one.txt", "/p/ONE.TXT"}).size(), 1u);
}

} // namespace
} // namespace morvane
