#include "CliTesting.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace morvane::cli {
namespace {

using nlohmann::json;
using testing::Workspace;
using Names = std::vector<std::string>;

const Names kCamera{"IMG_0001.JPG", "IMG_0002.JPG", "notes.txt"};

TEST(Preview, PrintsOneJsonObjectAndChangesNothing) {
    Workspace workspace(kCamera);
    const auto result = workspace.cli(
        {"preview", "--json", "--regex", R"(^IMG_(\d+)=photo-$1)", "--case", "same,lower", "photos"});
    ASSERT_EQ(result.status, 0) << result.err;
    const json plan = json::parse(result.out);
    EXPECT_EQ(plan["items"], 3);
    EXPECT_EQ(plan["included"], 3);
    EXPECT_EQ(plan["toRename"], 2);
    EXPECT_EQ(plan["conflicts"], 0);
    EXPECT_EQ(plan["changedCounts"], json::parse("[2, 2]"));
    EXPECT_EQ(plan["ruleErrors"], json::object());
    EXPECT_EQ(plan["entries"][0], json({{"id", workspace.photos + "/IMG_0001.JPG"},
                                        {"directory", workspace.photos},
                                        {"name", "IMG_0001.JPG"},
                                        {"newName", "photo-0001.jpg"},
                                        {"status", "rename"}}));
    EXPECT_EQ(plan["entries"][2]["status"], "unchanged");
    EXPECT_EQ(workspace.names(), kCamera);
}

TEST(Preview, ReportsConflictsWithReasonsAndStatusOne) {
    Workspace workspace({"a.txt", "b.txt", "c.txt"});
    const auto result =
        workspace.cli({"preview", "--json", "--replace", "a=b", "--replace", "c=x:y", "photos"});
    EXPECT_EQ(result.status, 1);
    const json plan = json::parse(result.out);
    EXPECT_EQ(plan["conflicts"], 3);
    EXPECT_EQ(plan["entries"][0]["status"], "duplicate");
    EXPECT_FALSE(plan["entries"][0].contains("reason"));
    EXPECT_EQ(plan["entries"][2]["status"], "invalid");
    EXPECT_EQ(plan["entries"][2]["reason"], "forbiddenCharacter");
}

TEST(Preview, TableShowsStatusesSummaryAndOnlyWhatWasAsked) {
    Workspace workspace({"IMG_1.jpg", "keep.txt", "skip.jpg"});
    const auto table = workspace.cli({"preview", "--replace", "IMG_=Trip ", "--replace", "skip=x",
                                      "--exclude", "photos/skip.jpg", "--only-changed", "photos"});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("Rename  IMG_1.jpg     Trip 1.jpg"), std::string::npos) << table.out;
    EXPECT_EQ(table.out.find("keep.txt"), std::string::npos);
    EXPECT_NE(table.out.find("3 items \u00B7 2 included \u00B7 1 to rename \u00B7 No conflicts"),
              std::string::npos);
    EXPECT_EQ(table.out.find('\x1b'), std::string::npos); // not a terminal: no colour

    const auto filtered = workspace.cli({"preview", "--filter", "img", "photos"});
    EXPECT_NE(filtered.out.find("Filtered"), std::string::npos);
}

TEST(Rename, RefusesConflictsUnlessAskedToSkipThem) {
    Workspace workspace({"a.txt", "b.txt", "c.txt"});
    const auto refused = workspace.cli({"rename", "--replace", "a=b", "--replace", "c=d", "photos"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("Conflict"), std::string::npos);
    EXPECT_EQ(refused.out.find("c.txt"), std::string::npos) << "only the conflicts are listed";
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "c.txt"}));
    EXPECT_FALSE(std::filesystem::exists(workspace.history));

    const auto skipped =
        workspace.cli({"rename", "--skip-conflicting", "--replace", "a=b", "--replace", "c=d", "photos"});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.out, "1 items renamed \u00B7 Recorded in Rename History.\n");
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "d.txt"}));

    const auto nothing = workspace.cli({"rename", "--json", "--replace", "zzz=y", "photos"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, "null\n");
}

TEST(Rename, IsRecordedAndCanBeUndone) {
    Workspace workspace({"x1.txt", "x2.txt"});
    const auto renamed = workspace.cli({"rename", "--json", "--replace", "x=y", "photos"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    const json transaction = json::parse(renamed.out);
    EXPECT_EQ(transaction["outcome"], "completed");
    EXPECT_EQ(transaction["operations"].size(), 2u);
    EXPECT_EQ(workspace.names(), (Names{"y1.txt", "y2.txt"}));

    const auto history = workspace.cli({"history", "--json"});
    EXPECT_EQ(json::parse(history.out)[0]["id"], transaction["id"]);

    const auto dryRun = workspace.cli({"undo", "--dry-run"});
    EXPECT_EQ(dryRun.status, 0);
    EXPECT_EQ(workspace.names(), (Names{"y1.txt", "y2.txt"}));

    const auto undone = workspace.cli({"undo"});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_NE(undone.out.find("2 items put back."), std::string::npos);
    EXPECT_EQ(workspace.names(), (Names{"x1.txt", "x2.txt"}));
    EXPECT_EQ(workspace.cli({"undo"}).out, "Nothing to undo.\n");
}

TEST(Undo, IsPartialWhenFilesChangedSince) {
    Workspace workspace({"x1.txt", "x2.txt"});
    ASSERT_EQ(workspace.cli({"rename", "--replace", "x=y", "photos"}).status, 0);
    std::filesystem::remove(workspace.photos + "/y2.txt");
    const auto undone = workspace.cli({"undo", "--json"});
    EXPECT_EQ(undone.status, 1);
    const json report = json::parse(undone.out);
    EXPECT_EQ(report["statuses"], json({{"0", "reverted"}, {"1", "changedSince:missing"}}));
    EXPECT_EQ(workspace.names(), Names{"x1.txt"});
}

TEST(Preview, ReadsDatesOnlyWhenARuleOrTheOrderUsesThem) {
    Workspace workspace({"a.jpg", "b.jpg"});
    const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 0}}; // 2023-11-14 22:13:20 UTC
    ASSERT_EQ(::utimensat(AT_FDCWD, (workspace.photos + "/b.jpg").c_str(), times, 0), 0);
    const auto dated =
        workspace.cli({"preview", "--json", "--rule",
                       R"({"kind":"date","format":"yyyy","timeZoneIdentifier":"UTC"})", "photos"});
    EXPECT_EQ(json::parse(dated.out)["entries"][1]["newName"], "2023_b.jpg");
    const auto bySize = workspace.cli({"preview", "--json", "--sort", "modified", "--descending", "photos"});
    EXPECT_EQ(json::parse(bySize.out)["entries"][0]["name"], "a.jpg"); // touched just now
}

TEST(Presets, ByNameOrFileWithUnknownKindsSkipped) {
    Workspace workspace({"b.jpg", "a.jpg"});
    const auto factory = workspace.cli({"preview", "--json", "--preset", "sequence ONLY", "photos"});
    ASSERT_EQ(factory.status, 0) << factory.err;
    EXPECT_EQ(json::parse(factory.out)["entries"][1]["newName"], "002.jpg");

    morvane::testing::writeFile(
        workspace.root / "mine.morvanepreset",
        R"({"name":"Mine","rules":[{"kind":"stamp"},{"kind":"case","mode":"upper"}]})");
    const auto file = workspace.cli({"preview", "--json", "--preset", "mine.morvanepreset", "photos"});
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(json::parse(file.out)["entries"][0]["newName"], "A.jpg");
    EXPECT_NE(file.err.find("1 rules in \u201CMine\u201D need a newer version and were skipped. (1)"),
              std::string::npos)
        << file.err;

    // A user preset named like a factory one shadows it in the list.
    morvane::testing::makeFolder(workspace.presets);
    morvane::testing::writeFile(workspace.presets + "/s.morvanepreset",
                                R"({"name":"SEQUENCE ONLY","rules":[]})");
    const json offered = json::parse(workspace.cli({"presets", "--json"}).out);
    std::vector<std::pair<std::string, bool>> listed;
    for (const auto& preset : offered) {
        listed.emplace_back(preset["name"], preset["factory"]);
    }
    EXPECT_EQ(listed.size(), 6u);
    EXPECT_EQ(listed.back(), std::make_pair(std::string("SEQUENCE ONLY"), false));
}

TEST(Usage, BadInputExitsWithTwoAndSaysWhy) {
    Workspace workspace({"a.txt"});
    const std::vector<std::vector<std::string>> cases{
        {"preview", "--rule", "{not json", "photos"},
        {"preview", "--rule", R"({"kind":"stamp"})", "photos"},
        {"preview", "--rule", R"({"kind":"counter","width":2.5})", "photos"},
        {"preview", "--case", "loud", "photos"},
        {"preview", "--regex", "(=x", "photos"},
        {"preview", "--replace", "nothing", "photos"},
        {"preview", "--preset", "No Such Preset", "photos"},
        {"preview", "missing-folder"},
        {"preview", "--unknown", "photos"},
    };
    for (const auto& arguments : cases) {
        const auto result = workspace.cli(arguments);
        EXPECT_EQ(result.status, 2) << arguments[2];
        EXPECT_TRUE(result.err.starts_with("morvane-cli: ")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
} // namespace morvane::cli
