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
    EXPECT_EQ(skipped.out, "1 item renamed \u00B7 Recorded in Rename History.\n");
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "d.txt"}));

    // Nothing to rename is no batch, but still the usual plan object.
    const auto nothing = workspace.cli({"rename", "--json", "--replace", "zzz=y", "photos"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(json::parse(nothing.out)["toRename"], 0);
}

// Leaving x and y out (both would be n.txt) makes z's new name, x.txt, collide
// with x, which now stays: z is left out too, and only w is renamed.
TEST(Rename, LeavesConflictsOutUntilNoneAreLeft) {
    Workspace workspace({"w.txt", "x.txt", "y.txt", "z.txt"});
    const auto result = workspace.cli({"rename", "--skip-conflicting", "--regex", "^[xy]$=n", "--replace",
                                       "z=x", "--replace", "w=v", "photos"});
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(workspace.names(), (Names{"v.txt", "x.txt", "y.txt", "z.txt"}));
}

// A broken rule is never bypassed silently: the preview says so and fails,
// and rename refuses before touching anything.
TEST(Rename, RefusesARuleThatCannotBeApplied) {
    Workspace workspace({"a.txt", "b.txt"});
    const std::string broken =
        R"({"kind":"regex","pairs":[{"pattern":"(","replacement":"x","isEnabled":true}]})";
    const auto preview = workspace.cli({"preview", "--replace", "a=c", "--rule", broken, "photos"});
    EXPECT_EQ(preview.status, 2);
    EXPECT_NE(preview.out.find("Rule 2 (Regular Expression): Missing closing parenthesis"), std::string::npos)
        << preview.out;

    const auto renamed = workspace.cli({"rename", "--replace", "a=c", "--rule", broken, "photos"});
    EXPECT_EQ(renamed.status, 2);
    EXPECT_NE(renamed.err.find("Rule 2 (Regular Expression): Missing closing parenthesis"), std::string::npos)
        << renamed.err;
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt"}));
    EXPECT_FALSE(std::filesystem::exists(workspace.history));
}

// Files named one by one: a new name another file of the folder holds is a
// conflict in the preview, can be skipped, and is never attempted.
TEST(Rename, LooseFilesMeetTheOtherFilesOfTheirFolder) {
    Workspace workspace({"a.txt", "b.txt"});
    const auto preview = workspace.cli({"preview", "--json", "--replace", "a=b", "photos/a.txt"});
    EXPECT_EQ(preview.status, 1);
    const json entry = json::parse(preview.out)["entries"][0];
    EXPECT_EQ(entry["status"], "nameTaken");
    EXPECT_EQ(entry["takenBy"], "b.txt");
    const auto table = workspace.cli({"preview", "--replace", "a=b", "photos/a.txt"});
    EXPECT_NE(table.out.find("Conflict  a.txt         b.txt  \u2014 \u201Cb.txt\u201D already exists"),
              std::string::npos)
        << table.out;

    const auto skipped = workspace.cli({"rename", "--skip-conflicting", "--replace", "a=b", "photos/a.txt"});
    EXPECT_EQ(skipped.status, 0);
    EXPECT_EQ(skipped.out, "Nothing to rename.\n");
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt"}));
}

TEST(Rename, AHistoryThatCannotBeWrittenIsRefusedUpFront) {
    Workspace workspace({"a.txt"});
    morvane::testing::writeFile(workspace.root / "blocker", "");
    const std::string history = workspace.root / "blocker/History";
    const auto refused = workspace.cli({"rename", "--history-dir", history, "--replace", "a=b", "photos"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("\u201C" + history + "\u201D cannot be written: Not a directory"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--no-history"), std::string::npos);
    EXPECT_EQ(workspace.names(), Names{"a.txt"});

    const auto unrecorded = workspace.cli({"rename", "--no-history", "--replace", "a=b", "photos"});
    EXPECT_EQ(unrecorded.status, 0);
    EXPECT_EQ(unrecorded.out, "1 item renamed \u00B7 Not recorded in Rename History.\n");
    EXPECT_EQ(workspace.names(), Names{"b.txt"});
    EXPECT_FALSE(std::filesystem::exists(workspace.history));
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

// When the newest batch has nothing left that can be put back, undo says so
// and names the next batch, which `undo --id` then takes back.
TEST(Undo, NamesTheNextBatchWhenTheNewestHasNothingLeft) {
    Workspace workspace({"a.txt", "x.txt"});
    ASSERT_EQ(workspace.cli({"rename", "--replace", "a=b", "photos"}).status, 0);
    ASSERT_EQ(workspace.cli({"rename", "--replace", "x=y", "photos"}).status, 0);
    std::filesystem::remove(workspace.photos + "/y.txt");
    const std::string older =
        json::parse(workspace.cli({"history", "--json"}).out)[1]["id"].get<std::string>();
    const std::string shortId = older.substr(0, 8);
    EXPECT_NE(workspace.cli({"history"}).out.find("  " + shortId + "  1 item renamed  "), std::string::npos);

    const auto stuck = workspace.cli({"undo"});
    EXPECT_EQ(stuck.status, 1);
    EXPECT_NE(stuck.out.find("1 file has since changed \u2014 nothing was put back.\n"), std::string::npos)
        << stuck.out;
    EXPECT_NE(stuck.out.find("The next batch that can be undone is " + shortId), std::string::npos)
        << stuck.out;
    EXPECT_NE(stuck.out.find("morvane-cli undo --id " + shortId), std::string::npos);

    std::string lowerCase = shortId;
    std::transform(lowerCase.begin(), lowerCase.end(), lowerCase.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    const auto byId = workspace.cli({"undo", "--id", lowerCase});
    EXPECT_EQ(byId.status, 0) << byId.err;
    EXPECT_EQ(byId.out.substr(byId.out.rfind("1 item")), "1 item put back.\n");
    EXPECT_EQ(workspace.names(), Names{"a.txt"});
    EXPECT_EQ(workspace.cli({"undo", "--id", "ffffffff"}).status, 2);
}

// A batch that renamed a folder and a file inside it: the dry run shows the
// file where it is now, inside the renamed folder.
TEST(Undo, ShowsWhereEachItemIsNow) {
    Workspace workspace({});
    morvane::testing::makeFolder(workspace.photos + "/sub");
    morvane::testing::writeFile(workspace.photos + "/sub/sub.txt", "");
    ASSERT_EQ(workspace.cli({"rename", "--recursive", "--folders", "--replace", "sub=top", "photos"}).status,
              0);
    const auto dryRun = workspace.cli({"undo", "--dry-run"});
    EXPECT_NE(dryRun.out.find("Would put back  " + workspace.photos + "/top/top.txt \u2192 sub.txt\n"),
              std::string::npos)
        << dryRun.out;
    EXPECT_NE(dryRun.out.find("2 items would be put back."), std::string::npos);
}

// A file that could not be moved back has not "changed since": it is counted apart.
TEST(Undo, CountsFilesThatCouldNotBePutBackApart) {
    Workspace workspace({});
    morvane::testing::makeFolder(workspace.photos + "/sub");
    morvane::testing::writeFile(workspace.photos + "/sub/f.txt", "");
    ASSERT_EQ(workspace.cli({"rename", "--recursive", "--replace", "f=g", "photos"}).status, 0);
    const morvane::testing::ReadOnlyFolder readOnly(workspace.photos + "/sub");
    if (readOnly.errorNumber() == 0) {
        GTEST_SKIP() << "no way to make a folder read-only here";
    }
    const auto undone = workspace.cli({"undo"});
    EXPECT_EQ(undone.status, 1);
    EXPECT_NE(undone.out.find("1 file could not be put back \u2014 nothing was put back.\n"),
              std::string::npos)
        << undone.out;
    EXPECT_EQ(undone.out.find("changed"), std::string::npos) << undone.out;
}

TEST(History, SaysWhichRecordsCouldNotBeRead) {
    Workspace workspace({"a.txt"});
    ASSERT_EQ(workspace.cli({"rename", "--replace", "a=b", "photos"}).status, 0);
    const std::string broken = workspace.history + "/20991231-235959-broken.json";
    morvane::testing::writeFile(broken, "{\"id\": ");
    for (const char* command : {"history", "undo"}) {
        const auto result = workspace.cli({command});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_TRUE(result.err.starts_with("morvane-cli: Skipped the history record " + broken +
                                           ": not valid JSON ("))
            << result.err;
    }
    EXPECT_EQ(workspace.names(), Names{"a.txt"});
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
    EXPECT_NE(file.err.find("1 rule in \u201CMine\u201D needs a newer version and was skipped. (1)"),
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
    EXPECT_EQ(listed.size(), 7u);
    EXPECT_EQ(listed.back(), std::make_pair(std::string("SEQUENCE ONLY"), false));
}

// `=` splits a --regex argument unless a backslash escapes it, so lookbehinds can be written.
TEST(Preview, RegexPatternsCanHoldAnEqualsSign) {
    Workspace workspace({"ab.txt", "k=v.txt"});
    const auto result =
        workspace.cli({"preview", "--json", "--regex", R"((?<\=a)b=X)", "--regex", R"(k\=v=kv)", "photos"});
    ASSERT_EQ(result.status, 0) << result.err;
    const json plan = json::parse(result.out);
    EXPECT_EQ(plan["entries"][0]["newName"], "aX.txt");
    EXPECT_EQ(plan["entries"][1]["newName"], "kv.txt");
}

TEST(Usage, AMistypedCommandIsNamedAsSuch) {
    Workspace workspace({"a.txt"});
    EXPECT_EQ(workspace.cli({"renmae", "photos"}).err,
              "morvane-cli: unknown command 'renmae' (did you mean rename?)\n");
    EXPECT_EQ(workspace.cli({"histroy"}).err,
              "morvane-cli: unknown command 'histroy' (did you mean history?)\n");
    // A file or folder of that name is previewed, as always.
    morvane::testing::makeFolder(workspace.root / "undone");
    EXPECT_EQ(workspace.cli({"undone"}).status, 0);
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
        {"preview"},
        {"preview", "--sort", "colour", "photos"},
        {"undo", "--skip-conflicting"},
        {"rename", "--no-history", "--history-dir", "history", "photos"},
        {"preview", "--replace", "caf\xe9=x", "photos"},
        {"preview", "--regex", "caf\xe9=x", "photos"},
        {"preview", "missing\nfolder"},
    };
    for (const auto& arguments : cases) {
        const auto result = workspace.cli(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_TRUE(result.err.starts_with("morvane-cli: ")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
} // namespace morvane::cli
