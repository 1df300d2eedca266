#include "engine/filesystem/NamesTakenOnDisk.h"

#include "engine/core/RenamePipeline.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedRules.h"

#include <gtest/gtest.h>

#include <map>

namespace morvane {
namespace {

using Kind = RenameStatus::Kind;

using testing::renaming;

// "name:status" or "name:nameTaken(holder)" per entry.
std::string statuses(const RenamePlan& plan) {
    std::string result;
    for (const auto& entry : plan.entries) {
        result +=
            (result.empty() ? "" : " ") + entry.item.name + ":" + std::string(rawValue(entry.status.kind));
        if (entry.status.takenBy) {
            result += "(" + *entry.status.takenBy + ")";
        }
    }
    return result;
}

// Items picked one by one in /d, next to entries that are not items: "B.TXT",
// a precomposed "é.txt", and "kept.txt", which is an item left out.
std::string planOn(bool caseSensitive) {
    InMemoryFileSystem fs(caseSensitive);
    for (const char* name :
         {"a.txt", "B.TXT", "c.txt", "\u00e9.txt", "m.txt", "n.txt", "kept.txt", "r.txt"}) {
        fs.addFile(std::string("/d/") + name);
    }
    auto items = testing::items({"a.txt", "c.txt", "m.txt", "n.txt", "kept.txt", "r.txt"});
    items[4].isIncluded = false;
    RenamePlan plan = renaming({{"a.txt", "b.txt"},
                                {"c.txt", "e\u0301.txt"},
                                {"m.txt", "n.txt"},
                                {"n.txt", "m.txt"},
                                {"r.txt", "R.txt"}})
                          .plan(items);
    markNamesTakenOnDisk(plan, fs);
    return statuses(plan);
}

TEST(NamesTakenOnDisk, FlagsNewNamesHeldByEntriesOutsideTheItems) {
    // Letter case counts only where the volume ignores it; composition always
    // does. Names held by other items (a swap, a case-only rename) are the
    // plan's own business.
    EXPECT_EQ(planOn(false), "a.txt:nameTaken(B.TXT) c.txt:nameTaken(\u00e9.txt) m.txt:rename n.txt:rename "
                             "kept.txt:excluded r.txt:caseOnlyRename");
    EXPECT_EQ(planOn(true), "a.txt:rename c.txt:nameTaken(\u00e9.txt) m.txt:rename n.txt:rename "
                            "kept.txt:excluded r.txt:caseOnlyRename");
}

TEST(NamesTakenOnDisk, LeavesAFolderThatCannotBeListedToTheMove) {
    InMemoryFileSystem fs(true);
    fs.addFile("/d/a.txt");
    fs.addFile("/d/b.txt");
    // /gone does not exist: its listing fails, and the move will say why.
    auto items = testing::items({"a.txt"});
    items.push_back(testing::item("x.txt", "/gone"));
    RenamePlan plan = renaming({{"a.txt", "b.txt"}, {"x.txt", "y.txt"}}).plan(items);
    markNamesTakenOnDisk(plan, fs);
    EXPECT_EQ(statuses(plan), "a.txt:nameTaken(b.txt) x.txt:rename");
    EXPECT_TRUE(plan.hasConflicts());
}

} // namespace
} // namespace morvane
