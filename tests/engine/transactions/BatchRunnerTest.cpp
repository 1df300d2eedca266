#include "engine/transactions/BatchRunner.h"

#include "engine/core/RuleError.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedRules.h"
#include "engine/transactions/TransactionFixtures.h"

#include <gtest/gtest.h>

#include <map>

namespace morvane {
namespace {

using Status = BatchOutcome::Status;
using Recording = HistoryRecording::Kind;
using Strings = std::vector<std::string>;
using testing::renaming;
using testing::TempFolder;

// A folder /d in memory holding `names`, all of them items of the request.
struct Batch {
    std::shared_ptr<InMemoryFileSystem> fs = std::make_shared<InMemoryFileSystem>(true);
    TempFolder dir;
    std::string history = dir / "History";
    BatchRunner::Request request;

    Batch(std::initializer_list<const char*> names, RenamePipeline pipeline) {
        for (const char* name : names) {
            fs->addFile(std::string("/d/") + name);
            request.items.push_back(testing::item(name));
        }
        request.pipeline = std::move(pipeline);
        request.folder = "/d";
    }

    BatchRunner runner(bool withHistory = true) const {
        BatchRunner::Services services{fs, std::nullopt};
        if (withHistory) {
            services.history = HistoryStore(history);
        }
        return BatchRunner(std::move(services));
    }
    std::size_t recordCount() const { return HistoryStore(history).load().size(); }
};

TEST(BatchRunner, RenamesAndRecordsTheBatch) {
    Batch batch({"a", "b"}, renaming({{"a", "x"}, {"b", "y"}}));
    const auto outcome = batch.runner().rename(batch.request);
    EXPECT_EQ(outcome.status, Status::ran);
    ASSERT_TRUE(outcome.transaction);
    EXPECT_EQ(outcome.transaction->appliedCount(), 2u);
    EXPECT_EQ(outcome.recording.kind, Recording::recorded);
    EXPECT_EQ(HistoryStore(batch.history).load(), std::vector<RenameTransaction>{*outcome.transaction});
    EXPECT_EQ(batch.fs->paths(), (Strings{"/d", "/d/x", "/d/y"}));

    batch.request.items = testing::items({"x", "y"});
    const auto again = batch.runner().rename(batch.request);
    EXPECT_EQ(again.status, Status::nothingToRename);
    EXPECT_EQ(batch.recordCount(), 1u);
}

TEST(BatchRunner, ARuleThatFailsStopsTheBatchOnlyWhenAskedTo) {
    const auto pipeline = RenamePipeline({makeStep(testing::appendOrFail("-1", "b", "bad pattern"))});
    Batch batch({"a", "b"}, pipeline);
    batch.request.refuseRuleErrors = true;
    const auto refused = batch.runner().rename(batch.request);
    EXPECT_EQ(refused.status, Status::ruleErrors);
    EXPECT_EQ(refused.plan.ruleErrors, (std::map<std::size_t, std::string>{{0, "bad pattern"}}));
    EXPECT_EQ(batch.fs->moves(), Strings{});
    EXPECT_EQ(batch.recordCount(), 0u);

    batch.request.refuseRuleErrors = false; // the window bypasses the rule for that item
    const auto bypassed = batch.runner().rename(batch.request);
    EXPECT_EQ(bypassed.status, Status::ran);
    EXPECT_EQ(batch.fs->paths(), (Strings{"/d", "/d/a-1", "/d/b"}));
}

// A stop in the middle of a batch: every file is back under its own name,
// and nothing is recorded, since nothing was renamed.
TEST(BatchRunner, AStoppedBatchPutsEverythingBackAndRecordsNothing) {
    Batch batch({"a", "b", "c"}, renaming({{"a", "x"}, {"b", "y"}, {"c", "z"}}));
    testing::ProgressLog stopping([](const BatchProgress& progress) { return progress.done == 2; });
    const auto outcome = batch.runner().rename(batch.request, stopping.control());
    EXPECT_EQ(outcome.status, Status::ran);
    EXPECT_TRUE(outcome.wasStopped);
    EXPECT_EQ(outcome.transaction->outcome, RenameTransaction::Outcome::rolledBack);
    EXPECT_EQ(outcome.transaction->failure, "Stopped by the user");
    EXPECT_EQ(outcome.recording.kind, Recording::notNeeded);
    EXPECT_EQ(batch.recordCount(), 0u);
    EXPECT_EQ(batch.fs->paths(), (Strings{"/d", "/d/a", "/d/b", "/d/c"}));
}

} // namespace
} // namespace morvane
