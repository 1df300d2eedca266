#include "engine/filesystem/LocalFileSystem.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/RenameExecutor.h"
#include "engine/transactions/TransactionFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

using Outcome = RenameTransaction::Outcome;
using testing::renameOf;
using testing::snapshot;
using testing::statesOf;
using testing::TempFolder;
using testing::writeFile;

// "name=bytes" for every file, in name order.
std::string contentsOf(const std::string& folder) {
    std::string result;
    for (const auto& [name, bytes] : snapshot(folder)) {
        result += (result.empty() ? "" : " ") + name + "=" + bytes;
    }
    return result;
}

// The same mixed batch on the real (case-sensitive) disk, where the case-only
// rename is one direct move:
//   0 b→c   1 a→b   2 Report→REPORT   3 x→T1   4 y→x   5 T1→y
// Just before move `k`, another process creates the file ("I") that move
// targets. Where that name was freed by an earlier move of the batch, the
// item that had it cannot get it back: it keeps its new name, and nothing is
// overwritten.
TEST(RenameExecutorOnDisk, ATargetCreatedMeanwhileIsNeverOverwritten) {
    struct Case {
        const char* target;
        const char* states;
        Outcome outcome;
        const char* contents;
    };
    const Case cases[] = {
        {"c", "NFNNN", Outcome::rolledBack, "Report=R a=a b=b c=I x=x y=y"},
        {"b", "FDNNN", Outcome::rollbackFailed, "Report=R a=a b=I c=b x=x y=y"},
        {"REPORT", "RRNNF", Outcome::rolledBack, "REPORT=I Report=R a=a b=b x=x y=y"},
        {".morvane-tmp-1", "RRFNR", Outcome::rolledBack, ".morvane-tmp-1=I Report=R a=a b=b x=x y=y"},
        {"x", "RRFFR", Outcome::rollbackFailed, ".morvane-tmp-1=x Report=R a=a b=b x=I y=y"},
        {"y", "RRFDR", Outcome::rollbackFailed, ".morvane-tmp-1=x Report=R a=a b=b x=y y=I"},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        TempFolder dir;
        for (const char* name : {"a", "b", "x", "y", "Report"}) {
            writeFile(dir / name, std::string(1, name[0]));
        }
        auto fs = std::make_shared<testing::ScriptedFileSystem>(
            std::make_shared<LocalFileSystem>(),
            [&](std::size_t attempt, const std::string&, const std::string& to) {
                if (attempt == k) {
                    writeFile(to, "I");
                }
            });
        const RenameExecutor executor(fs, &RenameExecutor::systemNow, testing::numberedTemporaryNames());
        const auto transaction = executor.execute(
            {renameOf(dir.path(), "a", "b"), renameOf(dir.path(), "b", "c"), renameOf(dir.path(), "x", "y"),
             renameOf(dir.path(), "y", "x"), renameOf(dir.path(), "Report", "REPORT")},
            dir.path(), std::nullopt);
        EXPECT_EQ(transaction.outcome, cases[k].outcome) << k;
        EXPECT_EQ(statesOf(transaction), cases[k].states) << k;
        EXPECT_EQ(transaction.failure, "\u201C" + std::string(cases[k].target) + "\u201D already exists");
        EXPECT_EQ(contentsOf(dir.path()), cases[k].contents) << k;
    }
}

TEST(RenameExecutorOnDisk, AReadOnlyFolderRollsBackTheFoldersAlreadyDone) {
    TempFolder dir;
    testing::makeFolder(dir / "sub");
    writeFile(dir / "sub/p", "P");
    writeFile(dir / "m", "M");
    const auto original = snapshot(dir.path());
    const testing::ReadOnlyFolder readOnly(dir.path());
    if (readOnly.errorNumber() == 0) {
        GTEST_SKIP() << "no way to make a folder read-only here";
    }
    const RenameExecutor executor(std::make_shared<LocalFileSystem>());
    const auto transaction = executor.execute(
        {renameOf(dir.path(), "m", "n"), renameOf(dir / "sub", "p", "q")}, dir.path(), std::nullopt);
    EXPECT_EQ(statesOf(transaction), "FR");
    EXPECT_EQ(transaction.failure,
              "\u201Cm\u201D could not be renamed: " + systemErrorText(readOnly.errorNumber()));
    EXPECT_EQ(transaction.outcome, Outcome::rolledBack);
    EXPECT_EQ(snapshot(dir.path()), original);
}

// A stop asked for in the middle of a real batch of chains, swaps and plain
// renames: every file is back under its own name, nothing is left under a
// temporary name, and progress goes up to the stop and then down the put-back.
TEST(RenameExecutorOnDisk, AStopPutsEveryFileBackUnderItsOwnName) {
    TempFolder dir;
    std::vector<RenameOperation> batch;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "f" + std::to_string(i);
        writeFile(dir / name, name);
        // Every third item moves to a fresh name; the others swap in pairs.
        const int partner = i % 3 == 1 ? i + 1 : i - 1;
        batch.push_back(
            renameOf(dir.path(), name, (i % 3 == 0 ? "g" : "f") + std::to_string(i % 3 == 0 ? i : partner)));
    }
    const auto original = snapshot(dir.path());
    testing::ProgressLog log([](const BatchProgress& progress) {
        return progress.phase == BatchProgress::Phase::renaming && progress.done == 120;
    });
    const RenameExecutor executor(std::make_shared<LocalFileSystem>());
    const auto transaction = executor.execute(batch, dir.path(), std::nullopt, log.control());
    const auto& seen = log.seen;
    EXPECT_EQ(transaction.outcome, Outcome::rolledBack);
    EXPECT_EQ(transaction.failure, "Stopped by the user");
    EXPECT_EQ(transaction.appliedCount(), 0u);
    EXPECT_EQ(statesOf(transaction).find_first_not_of("RN"), std::string::npos) << statesOf(transaction);
    EXPECT_EQ(snapshot(dir.path()), original);

    ASSERT_FALSE(seen.empty());
    const std::size_t total = seen.front().total;
    EXPECT_EQ(total, 400u) << "each swap takes a temporary move";
    std::size_t index = 0;
    for (std::size_t done = 0; done <= 120; ++done, ++index) {
        ASSERT_EQ(seen.at(index), (BatchProgress{BatchProgress::Phase::renaming, done, total}));
    }
    for (std::size_t done = 0; done <= 120; ++done, ++index) {
        ASSERT_EQ(seen.at(index), (BatchProgress{BatchProgress::Phase::puttingBack, done, 120}));
    }
    EXPECT_EQ(index, seen.size());
}

// An undo large enough to read its folder once rather than ask after every
// name judges each item as a small one does: a file deleted since is
// missing, a file that took an old name keeps it, a swap is put back, and
// a name that only its NFD spelling holds is another name on this disk.
TEST(RenameExecutorOnDisk, ALargeUndoJudgesEachItemAsASmallOneDoes) {
    TempFolder dir;
    std::vector<RenameOperation> batch;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "f" + std::to_string(i);
        writeFile(dir / name, name);
        batch.push_back(renameOf(dir.path(), name, "g" + std::to_string(i)));
    }
    writeFile(dir / "a", "a");
    writeFile(dir / "b", "b");
    writeFile(dir / "\u00e9", "e");
    batch.push_back(renameOf(dir.path(), "a", "b"));
    batch.push_back(renameOf(dir.path(), "b", "a"));
    batch.push_back(renameOf(dir.path(), "\u00e9", "E"));
    const auto original = snapshot(dir.path());
    const RenameExecutor executor(std::make_shared<LocalFileSystem>());
    const auto transaction = executor.execute(batch, dir.path(), std::nullopt);
    ASSERT_EQ(transaction.outcome, Outcome::completed);
    std::filesystem::remove(dir / "g7");
    writeFile(dir / "f9", "new");
    writeFile(dir / "e\u0301", "decomposed");

    const auto report = executor.undo(transaction, false);
    EXPECT_EQ(report.statuses.at(7), UndoReport::Status::changedSince(UndoReport::Reason::missing));
    EXPECT_EQ(report.statuses.at(9), UndoReport::Status::changedSince(UndoReport::Reason::targetOccupied));
    EXPECT_EQ(report.revertedCount(), 301u);
    auto expected = original;
    expected.erase("f7");
    expected["f9"] = "new";
    expected["g9"] = "f9";
    expected["e\u0301"] = "decomposed";
    EXPECT_EQ(snapshot(dir.path()), expected);
}

} // namespace
} // namespace morvane
