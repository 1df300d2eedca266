#include "CliTesting.h"
#include "engine/filesystem/LockedFile.h"
#include "engine/testing/Crashes.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedRules.h"
#include "engine/transactions/BatchRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>

namespace morvane::cli {
namespace {

using nlohmann::json;
using testing::Workspace;
using Names = std::vector<std::string>;

// Renames every name to "new-" + name in a child process killed at its
// third move, as a crash would end it.
void crashRenamingAll(const Workspace& workspace, const Names& names) {
    BatchRunner::Request request;
    for (const auto& name : names) {
        request.items.push_back(morvane::testing::item(name, workspace.photos));
    }
    request.pipeline = RenamePipeline({makeStep(morvane::testing::ScriptedRule(
        [](FileName& name, const RuleContext&) { name = FileName::parsing("new-" + name.full()); }))});
    request.folder = workspace.photos;
    const int signal = morvane::testing::signalEndingChild([&] {
        BatchRunner(BatchRunner::Services{std::make_shared<morvane::testing::KillingFileSystem>(2, true),
                                          HistoryStore(workspace.history)})
            .rename(request);
    });
    ASSERT_EQ(signal, SIGKILL);
}

TEST(Recover, PutsBackWhatACrashLeftAndHistoryListsItFirst) {
    Workspace workspace({"a.txt", "b.txt", "c.txt", "d.txt"});
    ASSERT_EQ(workspace.cli({"rename", "--replace", "d=e", "photos"}).status, 0);
    crashRenamingAll(workspace, {"a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(workspace.names(), (Names{"e.txt", "new-a.txt", "new-b.txt", "new-c.txt"}));

    const auto listed = workspace.cli({"history"});
    EXPECT_EQ(listed.status, 0);
    const auto unfinished = listed.out.find("Unfinished: rename of 3 items  " + workspace.photos + "\n");
    const auto hint = listed.out.find("Run morvane-cli recover");
    const auto recorded = listed.out.find("1 item renamed");
    EXPECT_TRUE(unfinished < hint && hint < recorded && recorded != std::string::npos) << listed.out;
    const json listing = json::parse(workspace.cli({"history", "--json"}).out);
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0]["unfinished"], true);
    EXPECT_EQ(listing[0]["items"], 3);
    EXPECT_EQ(listing[1]["operations"].size(), 1u);

    const auto recovered = workspace.cli({"recover"});
    EXPECT_EQ(recovered.status, 0) << recovered.err;
    EXPECT_NE(recovered.out.find(": 3 items put back.\n"), std::string::npos) << recovered.out;
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "c.txt", "e.txt"}));
    const auto again = workspace.cli({"recover"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "Nothing to recover.\n");
    EXPECT_EQ(workspace.cli({"history"}).out.find("Unfinished"), std::string::npos);
    // The recorded batch is untouched, and can still be undone.
    EXPECT_EQ(workspace.cli({"undo"}).status, 0);
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "c.txt", "d.txt"}));
}

// A batch killed before its record was whole renamed nothing: what it left
// goes, and recover says so (and takes the options every command takes).
TEST(Recover, RemovesARecordThatNeverGotWholeAndSaysSo) {
    Workspace workspace({"a.txt"});
    morvane::testing::makeFolder(workspace.history);
    const std::string inPlace = workspace.history + "/20991231-235959-older.journal";
    const std::string draft = workspace.history + "/20991231-235959-newer.journal-0A1B2C3D.draft";
    morvane::testing::writeFile(inPlace, "");
    morvane::testing::writeFile(draft, "MRVNJNL");
    const auto recovered = workspace.cli({"recover", "--presets-dir", workspace.presets});
    EXPECT_EQ(recovered.status, 0) << recovered.err;
    const std::string said =
        ": a batch stopped before its record was complete, so before it renamed anything; the "
        "record was removed.\n";
    EXPECT_EQ(recovered.out, draft + said + inPlace + said);
    EXPECT_EQ(morvane::testing::namesIn(workspace.history), Names{});
    EXPECT_EQ(workspace.cli({"recover"}).out, "Nothing to recover.\n");
}

TEST(Recover, OnlyTheBatchAskedForAndADamagedRecordIsLeftAsItIs) {
    Workspace workspace({"a.txt", "b.txt", "c.txt"});
    crashRenamingAll(workspace, {"a.txt", "b.txt", "c.txt"});
    const Names crashed = workspace.names();
    const std::string damaged = workspace.history + "/20991231-235959-damaged.journal";
    morvane::testing::writeFile(damaged, "not a record");

    const auto listed = workspace.cli({"history"});
    EXPECT_NE(listed.out.find("Unreadable  " + damaged + ": "), std::string::npos) << listed.out;
    EXPECT_EQ(workspace.cli({"recover", "--id", "0000"}).status, 2);

    const auto recovered = workspace.cli({"recover", "--json"});
    EXPECT_EQ(recovered.status, 1) << "a record that cannot be used is not a whole recovery";
    std::map<std::string, json> byStatus;
    for (const json& outcome : json::parse(recovered.out)) {
        byStatus[outcome["status"]] = outcome;
    }
    ASSERT_EQ(byStatus.size(), 2u) << recovered.out;
    EXPECT_EQ(byStatus["unreadable"]["file"], damaged);
    EXPECT_FALSE(byStatus["unreadable"]["problem"].get<std::string>().empty());
    EXPECT_EQ(byStatus["recovered"]["putBack"], 3);
    EXPECT_EQ(workspace.names(), (Names{"a.txt", "b.txt", "c.txt"}));
    EXPECT_NE(crashed, workspace.names());
    EXPECT_EQ(morvane::testing::snapshot(workspace.history).at("20991231-235959-damaged.journal"),
              "not a record");

    const auto said = workspace.cli({"recover"});
    EXPECT_EQ(said.status, 1);
    EXPECT_NE(said.err.find(damaged + " cannot be used ("), std::string::npos) << said.err;

    // A record still being written in place by a batch of an older version
    // is listed by its file alone.
    const std::string starting = workspace.history + "/starting.journal";
    morvane::testing::writeFile(starting, "");
    const auto held = LockedFile::openUnlessHeld(starting);
    EXPECT_NE(workspace.cli({"history"}).out.find("Starting  " + starting + "\n"), std::string::npos);
    const json listing = json::parse(workspace.cli({"history", "--json"}).out);
    const json expected{{"unfinished", true}, {"file", starting}, {"isInUse", true}};
    EXPECT_NE(std::find(listing.begin(), listing.end(), expected), listing.end()) << listing.dump(2);
}

} // namespace
} // namespace morvane::cli
