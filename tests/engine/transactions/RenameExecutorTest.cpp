#include "engine/transactions/RenameExecutor.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/TransactionFixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace morvane {
namespace {

using Strings = std::vector<std::string>;
using Outcome = RenameTransaction::Outcome;
using testing::renameOf;
using testing::statesOf;

const Strings kOriginal{"/d", "/d/Report", "/d/a", "/d/b", "/d/x", "/d/y"};

// A chain (a→b→c), a swap (x↔y) and a case-only rename, on a case-insensitive
// volume. Its plan, in attempt order:
//   0 Report→T1   1 b→c   2 a→b   3 T1→REPORT   4 x→T2   5 y→x   6 T2→y
const std::vector<RenameOperation> kBatch{renameOf("/d", "a", "b"), renameOf("/d", "b", "c"),
                                          renameOf("/d", "x", "y"), renameOf("/d", "y", "x"),
                                          renameOf("/d", "Report", "REPORT")};

struct BatchRun {
    RenameTransaction transaction;
    Strings paths;
};

// Runs the batch with the given move attempts failing.
BatchRun runFailing(const std::set<std::size_t>& failing) {
    auto memory = std::make_shared<InMemoryFileSystem>(false);
    for (const auto& path : kOriginal) {
        if (path != "/d") {
            memory->addFile(path);
        }
    }
    auto scripted = std::make_shared<testing::ScriptedFileSystem>(
        memory, [&](std::size_t attempt, const std::string&, const std::string&) {
            if (failing.contains(attempt)) {
                throw FileSystemError::failed("injected #" + std::to_string(attempt));
            }
        });
    const RenameExecutor executor(
        scripted, [] { return testing::secondsSinceEpoch(99); }, testing::numberedTemporaryNames());
    auto transaction = executor.execute(kBatch, "/d", std::nullopt);
    return {std::move(transaction), memory->paths()};
}

TEST(RenameExecutor, CompletesAMixedBatch) {
    const BatchRun run = runFailing({});
    EXPECT_EQ(run.transaction.outcome, Outcome::completed);
    EXPECT_EQ(statesOf(run.transaction), "DDDDD");
    EXPECT_EQ(run.transaction.failure, std::nullopt);
    EXPECT_EQ(run.transaction.date, testing::secondsSinceEpoch(99));
    EXPECT_EQ(run.paths, (Strings{"/d", "/d/REPORT", "/d/b", "/d/c", "/d/x", "/d/y"}));
}

TEST(RenameExecutor, AFailureAtAnyStepPutsEverythingBack) {
    const char* expectedStates[] = {"NNNNF", "NFNNN", "FRNNN", "RRNNF", "RRFNR", "RRNFR", "RRFRR"};
    for (std::size_t step = 0; step < std::size(expectedStates); ++step) {
        const BatchRun run = runFailing({step});
        const std::string message = "injected #" + std::to_string(step);
        EXPECT_EQ(statesOf(run.transaction), expectedStates[step]) << "failing step " << step;
        EXPECT_EQ(run.transaction.outcome, Outcome::rolledBack) << step;
        EXPECT_EQ(run.transaction.failure, message) << step;
        EXPECT_EQ(run.paths, kOriginal) << step;
        for (const auto& operation : run.transaction.operations) {
            EXPECT_EQ(operation.message, operation.state == RenameTransaction::Operation::State::failed
                                             ? std::optional(message)
                                             : std::nullopt);
        }
    }
}

TEST(RenameExecutor, PutBackFailuresAreReportedAndLoseNothing) {
    const std::string notBack = "Could not be put back: ";
    // Step 5 (y→x) fails; putting x back from its temporary name (attempt 6) fails too.
    const BatchRun stuck = runFailing({5, 6});
    EXPECT_EQ(stuck.transaction.outcome, Outcome::rollbackFailed);
    EXPECT_EQ(statesOf(stuck.transaction), "RRFFR");
    EXPECT_EQ(stuck.transaction.operations[2].message, notBack + "injected #6");
    EXPECT_EQ(stuck.transaction.operations[3].message, "injected #5");
    EXPECT_EQ(stuck.paths, (Strings{"/d", "/d/.morvane-tmp-2", "/d/Report", "/d/a", "/d/b", "/d/y"}));

    // Step 4 fails; putting b back to a fails (attempt 6), so c cannot go back to b either.
    const BatchRun cascade = runFailing({4, 6});
    EXPECT_EQ(cascade.transaction.outcome, Outcome::rollbackFailed);
    EXPECT_EQ(statesOf(cascade.transaction), "DDFNR");
    EXPECT_EQ(cascade.transaction.operations[0].message, notBack + "injected #6");
    EXPECT_EQ(cascade.transaction.operations[1].message, notBack + "\u201C"
                                                                   "b"
                                                                   "\u201D already exists");
    EXPECT_EQ(cascade.transaction.failure, "injected #4");
    EXPECT_EQ(cascade.paths, (Strings{"/d", "/d/Report", "/d/b", "/d/c", "/d/x", "/d/y"}));
    EXPECT_EQ(cascade.transaction.appliedCount(), 2u);
}

} // namespace
} // namespace morvane
