#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedRules.h"
#include "engine/transactions/BatchRunner.h"
#include "engine/transactions/TransactionFixtures.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Status = UndoOutcome::Status;
using Kind = UndoReport::Status::Kind;
using Strings = std::vector<std::string>;

// A volume in memory, a history on disk, and a clock that stays within one
// second, a millisecond further at each batch.
struct Desk {
    std::shared_ptr<InMemoryFileSystem> fs = std::make_shared<InMemoryFileSystem>(true);
    testing::TempFolder dir;
    HistoryStore history{dir / "History"};
    int ticks = 0;
    BatchRunner runner{BatchRunner::Services{fs, history, [this] {
                                                 return testing::secondsSinceEpoch(1796454909) +
                                                        std::chrono::milliseconds(++ticks);
                                             }}};

    // Renames the item /d/`from` to `to`; returns the batch.
    RenameTransaction rename(const std::string& from, const std::string& to) {
        BatchRunner::Request request;
        request.items = {testing::item(from)};
        request.pipeline = testing::renaming({{from, to}});
        request.folder = "/d";
        auto outcome = runner.rename(request);
        EXPECT_EQ(outcome.recording.kind, HistoryRecording::Kind::recorded);
        return *outcome.transaction;
    }
};

// Six batches within one second, each renaming the file its predecessor
// named: each undo must take back the newest, or it finds nothing to move.
TEST(BatchRunnerUndo, TakesBackTheNewestBatchFirst) {
    Desk desk;
    desk.fs->addFile("/d/n0");
    for (int i = 0; i < 6; ++i) {
        desk.rename("n" + std::to_string(i), "n" + std::to_string(i + 1));
    }
    for (int i = 6; i > 0; --i) {
        const auto outcome = desk.runner.undo({});
        ASSERT_EQ(outcome.status, Status::ran);
        EXPECT_EQ(outcome.report->revertedCount(), 1u) << i;
        EXPECT_EQ(desk.fs->paths(), (Strings{"/d", "/d/n" + std::to_string(i - 1)})) << i;
    }
    EXPECT_EQ(desk.runner.undo({}).status, Status::nothingToUndo);
}

// When the newest batch has nothing left that can be put back, undo says so
// and names the next one, which can then be asked for by its id.
TEST(BatchRunnerUndo, NamesTheNextBatchWhenTheNewestIsStuck) {
    Desk desk;
    desk.fs->addFile("/d/a");
    desk.fs->addFile("/d/x");
    const auto older = desk.rename("a", "b");
    desk.rename("x", "y");
    desk.fs->move("/d/y", "/elsewhere");

    const auto stuck = desk.runner.undo({});
    ASSERT_EQ(stuck.status, Status::ran);
    EXPECT_EQ(stuck.count(Kind::changedSince), 1u);
    EXPECT_EQ(stuck.count(Kind::reverted), 0u);
    ASSERT_TRUE(stuck.next);
    EXPECT_EQ(stuck.next->id, older.id);
    EXPECT_EQ(desk.runner.undo({}).next, stuck.next) << "the stuck batch stays the newest";

    const auto byId = desk.runner.undo({std::nullopt, older.id.text().substr(0, 8), false});
    ASSERT_EQ(byId.status, Status::ran);
    EXPECT_EQ(byId.report->revertedCount(), 1u);
    EXPECT_EQ(byId.recording.kind, HistoryRecording::Kind::recorded);
    EXPECT_EQ(desk.fs->paths(), (Strings{"/d", "/d/a", "/elsewhere"}));
    EXPECT_TRUE(desk.history.load().back().isFullyUndone());

    EXPECT_EQ(desk.runner.undo({std::nullopt, "FFFFFFFF-0000", false}).status, Status::noSuchBatch);
    EXPECT_EQ(desk.runner.undo({std::nullopt, "", false}).status, Status::noSuchBatch);
}

TEST(BatchRunnerUndo, AnIdPrefixTwoBatchesShareIsRefused) {
    Desk desk;
    RenameTransaction first, second;
    first.id = *Uuid::parse("0F1E2D3C-0000-4000-8000-000000000001");
    second.id = *Uuid::parse("0F1E2D3C-0000-4000-8000-000000000002");
    desk.history.save(first);
    desk.history.save(second);
    const auto outcome = desk.runner.undo({std::nullopt, "0f1e2d3c", false});
    EXPECT_EQ(outcome.status, Status::ambiguousId);
    EXPECT_EQ(outcome.matches.size(), 2u);
    EXPECT_EQ(desk.runner.undo({std::nullopt, "0f1e2d3c-0000-4000-8000-000000000002", false}).status,
              Status::ran);
}

TEST(BatchRunnerUndo, AStopKeepsWhatWasPutBackAndRecordsIt) {
    Desk desk;
    BatchRunner::Request request;
    for (const char* name : {"a", "b", "c"}) {
        desk.fs->addFile(std::string("/d/") + name);
        request.items.push_back(testing::item(name));
    }
    request.pipeline = RenamePipeline(
        {makeStep(testing::ScriptedRule([](FileName& name, const RuleContext&) { name.stem += "2"; }))});
    request.folder = "/d";
    ASSERT_EQ(desk.runner.rename(request).transaction->appliedCount(), 3u);

    testing::ProgressLog stopping([](const BatchProgress& progress) { return progress.done == 1; });
    const auto outcome = desk.runner.undo({}, stopping.control());
    EXPECT_EQ(stopping.seen.back(), (BatchProgress{BatchProgress::Phase::undoing, 1, 3}));
    EXPECT_TRUE(outcome.wasStopped);
    EXPECT_EQ(outcome.count(Kind::reverted), 1u);
    EXPECT_EQ(outcome.count(Kind::notRun), 2u);
    EXPECT_FALSE(outcome.next) << "a stopped undo is not stuck";
    EXPECT_EQ(desk.history.load().front().revertibleCount(), 2u);
    EXPECT_EQ(desk.runner.undo({}).report->revertedCount(), 2u);
    EXPECT_EQ(desk.fs->paths(), (Strings{"/d", "/d/a", "/d/b", "/d/c"}));
}

} // namespace
} // namespace morvane
