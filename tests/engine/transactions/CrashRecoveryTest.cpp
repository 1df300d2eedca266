#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/filesystem/LockedFile.h"
#include "engine/testing/Crashes.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedRules.h"
#include "engine/transactions/BatchRunner.h"
#include "engine/transactions/Recovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace morvane {
namespace {

using testing::KillingFileSystem;
using testing::signalEndingChild;
using testing::snapshot;
using testing::TempFolder;
using Status = RecoveryOutcome::Status;
using Snapshot = std::map<std::string, std::string>;

// Every kind of move a batch makes, on the real disk: a chain (c→d, b→c,
// a→b), a cycle (x→T, z→x, y→z, T→y), a plain rename, and a folder renamed
// after a file inside it. Ten moves in all.
constexpr std::size_t kMoves = 10;

struct CrashFolder {
    TempFolder root;
    std::string photos = root / "photos";
    std::string history = root / "History";
    BatchRunner::Request request;
    Snapshot original;

    CrashFolder() {
        testing::makeFolder(photos + "/sub");
        for (const char* name : {"a", "b", "c", "p", "x", "y", "z"}) {
            testing::writeFile(photos + "/" + name, std::string("contents of ") + name);
        }
        testing::writeFile(photos + "/sub/f", "contents of f");
        request.items.emplace_back("sub", photos, Date{}, Date{}, 0, true, true);
        request.items.push_back(testing::item("f", photos + "/sub"));
        for (const char* name : {"a", "b", "c", "p", "x", "y", "z"}) {
            request.items.push_back(testing::item(name, photos));
        }
        const std::map<std::string, std::string> table{{"a", "b"}, {"b", "c"},      {"c", "d"},
                                                       {"x", "y"}, {"y", "z"},      {"z", "x"},
                                                       {"p", "q"}, {"sub", "sub2"}, {"f", "g"}};
        request.pipeline = testing::renaming(table);
        request.folder = photos;
        original = snapshot(photos);
    }

    BatchRunner runner(std::shared_ptr<FileSystem> fileSystem) const {
        return BatchRunner(BatchRunner::Services{std::move(fileSystem), HistoryStore(history)});
    }
    Recovery recovery(std::shared_ptr<FileSystem> fileSystem = std::make_shared<LocalFileSystem>()) const {
        return Recovery(std::move(fileSystem), HistoryStore(history));
    }
    // Runs the batch (or the undo of the newest one) in a child process
    // killed at move `at`, or (past the last move) just before its record is written.
    int crashRenaming(std::size_t at, bool afterIt, bool undoing = false) const {
        return signalEndingChild([&] {
            BatchControl control;
            control.progress = [](const BatchProgress& progress) {
                if (progress.done == progress.total && progress.total > 0) {
                    ::raise(SIGKILL);
                }
            };
            const BatchRunner killed = runner(std::make_shared<KillingFileSystem>(at, afterIt));
            undoing ? (void)killed.undo({}, control) : (void)killed.rename(request, control);
        });
    }
    std::vector<std::string> historyFiles() const { return testing::namesIn(history); }
};

std::string describe(std::size_t at, bool afterIt) {
    return at >= kMoves ? "before the record"
                        : (afterIt ? "after move " : "before move ") + std::to_string(at);
}

// Just before and just after each move, and (past the last) before the record.
void forEveryKillPoint(const std::function<void(std::size_t at, bool afterIt)>& test) {
    for (std::size_t at = 0; at <= kMoves; ++at) {
        for (const bool afterIt : {false, true}) {
            if (at < kMoves || !afterIt) {
                SCOPED_TRACE(describe(at, afterIt));
                test(at, afterIt);
            }
        }
    }
}

TEST(Crashes, ABatchKilledAtAnyPointIsPutBackWhole) {
    forEveryKillPoint([](std::size_t at, bool afterIt) {
        const CrashFolder folder;
        ASSERT_EQ(folder.crashRenaming(at, afterIt), SIGKILL);
        EXPECT_EQ(snapshot(folder.photos) == folder.original, at == 0 && !afterIt);
        const auto unfinished = folder.recovery().unfinished();
        ASSERT_EQ(unfinished.size(), 1u);
        EXPECT_EQ(unfinished[0].kind, BatchJournal::Kind::rename);
        EXPECT_EQ(unfinished[0].itemCount, 9u);
        EXPECT_FALSE(unfinished[0].isInUse);

        const auto outcomes = folder.recovery().recoverAll();
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].status, Status::recovered);
        EXPECT_EQ(outcomes[0].left, std::vector<RecoveryOutcome::Left>{});
        EXPECT_EQ(snapshot(folder.photos), folder.original);
        // Nothing was renamed in the end, so nothing is recorded, and nothing is left over.
        EXPECT_EQ(folder.historyFiles(), std::vector<std::string>{});
        EXPECT_TRUE(folder.recovery().recoverAll().empty());
    });
}

TEST(Crashes, AnUndoKilledAtAnyPointIsPutBackAndCanBeUndoneAgain) {
    forEveryKillPoint([](std::size_t at, bool afterIt) {
        const CrashFolder folder;
        const auto local = std::make_shared<LocalFileSystem>();
        ASSERT_EQ(folder.runner(local).rename(folder.request).recording.kind,
                  HistoryRecording::Kind::recorded);
        const Snapshot renamed = snapshot(folder.photos);
        const auto recorded = HistoryStore(folder.history).load();

        ASSERT_EQ(folder.crashRenaming(at, afterIt, true), SIGKILL);
        // Until it is recovered, the batch cannot be undone again.
        EXPECT_EQ(folder.runner(local).undo({}).status, UndoOutcome::Status::interrupted);

        const auto outcomes = folder.recovery().recoverAll();
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].status, Status::recovered);
        EXPECT_EQ(outcomes[0].batch.kind, BatchJournal::Kind::undo);
        EXPECT_EQ(snapshot(folder.photos), renamed);
        EXPECT_EQ(HistoryStore(folder.history).load(), recorded);

        const auto undone = folder.runner(local).undo({});
        EXPECT_EQ(undone.report->revertedCount(), 9u);
        EXPECT_EQ(snapshot(folder.photos), folder.original);
    });
}

TEST(Crashes, RecoveryKilledOnItsWayCanBeRunAgain) {
    for (std::size_t at = 0; at < kMoves; ++at) {
        for (const bool afterIt : {false, true}) {
            SCOPED_TRACE(describe(at, afterIt) + " of recovery");
            const CrashFolder folder;
            ASSERT_EQ(folder.crashRenaming(kMoves, false), SIGKILL);
            ASSERT_EQ(signalEndingChild([&] {
                          folder.recovery(std::make_shared<KillingFileSystem>(at, afterIt)).recoverAll();
                      }),
                      SIGKILL);
            const auto outcomes = folder.recovery().recoverAll();
            ASSERT_EQ(outcomes.size(), 1u);
            EXPECT_EQ(outcomes[0].status, Status::recovered);
            EXPECT_EQ(snapshot(folder.photos), folder.original);
            EXPECT_EQ(folder.historyFiles(), std::vector<std::string>{});
        }
    }
}

TEST(Crashes, ADamagedRecordIsReportedAndChangesNothing) {
    const CrashFolder folder;
    ASSERT_EQ(folder.crashRenaming(5, true), SIGKILL);
    const Snapshot crashed = snapshot(folder.photos);
    const auto unfinished = folder.recovery().unfinished();
    ASSERT_EQ(unfinished.size(), 1u);
    const std::string journal = unfinished[0].file;
    const std::string whole = testing::readFile(journal);
    ASSERT_GT(whole.size(), 8192u);

    const auto flipped = [&](std::size_t at) {
        std::string bytes = whole;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        return bytes;
    };
    // A name in the stream's folder table: changed, it still reads, and only
    // its block's checksum tells. The progress bytes begin at the first page
    // after the header.
    std::string renamedFolder = whole;
    renamedFolder[renamedFolder.rfind("/photos") + 1] = 'q';
    constexpr std::size_t kProgress = 4096;
    const auto progressByte = [&](unsigned char value) {
        std::string bytes = whole;
        bytes[kProgress] = static_cast<char>(value);
        return bytes;
    };
    const std::map<std::string, std::string> damages{
        {"only its magic", whole.substr(0, 8)},
        {"cut in its header", whole.substr(0, 30)},
        {"cut in half", whole.substr(0, whole.size() / 2)},
        {"its last byte missing", whole.substr(0, whole.size() - 1)},
        {"its state scrambled", flipped(9)},
        {"its header changed", flipped(40)},
        {"its moves changed", flipped(whole.size() - 2)},
        {"another file's bytes", std::string(whole.size(), 'x')},
        {"a letter of a folder changed", renamedFolder},
        {"an item at no place", progressByte(0x03)},
        {"an item on its way to no place", progressByte(0x8C)},
        {"stray bits in its progress", progressByte(0x40)},
    };
    for (const auto& [damage, bytes] : damages) {
        SCOPED_TRACE(damage);
        testing::writeFile(journal, bytes);
        const auto listed = folder.recovery().unfinished();
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_TRUE(listed[0].problem.has_value());
        const auto outcome = folder.recovery().recover(listed[0]);
        EXPECT_EQ(outcome.status, Status::unreadable);
        EXPECT_FALSE(outcome.batch.problem.value_or("").empty());
        EXPECT_EQ(snapshot(folder.photos), crashed);
        EXPECT_EQ(testing::readFile(journal), bytes);
    }
    testing::writeFile(journal, whole);
    EXPECT_EQ(folder.recovery().recoverAll().at(0).status, Status::recovered);
    EXPECT_EQ(snapshot(folder.photos), folder.original);
}

// After a power cut the disk may have kept moves whose marks in the record
// were lost, or the other way round: each item is looked for under its names.
// (Only items whose names no other item takes are changed here: for those of
// a chain or a swap, names alone cannot tell, and the record has the last word.)
TEST(Crashes, AnItemNotWhereItsRecordSaysIsLookedForUnderItsOtherNames) {
    using Place = MoveJournal::Place;
    for (const Place stale : {Place::original, Place::target}) {
        SCOPED_TRACE(stale == Place::original ? "moves kept, marks lost" : "marks kept, moves lost");
        const CrashFolder folder;
        // p→q is move 7; sub/f→g is move 0 and sub→sub2 move 9, which is not made.
        ASSERT_EQ(folder.crashRenaming(8, false), SIGKILL);
        const auto listed = folder.recovery().unfinished();
        ASSERT_EQ(listed.size(), 1u);
        {
            auto journal = BatchJournal::open(listed[0].file);
            ASSERT_TRUE(journal);
            for (std::uint32_t rename = 0; rename < journal->renames().size(); ++rename) {
                const std::string& from = journal->renames()[rename].from;
                if (from == "p" || from == "f" || from == "sub") {
                    journal->at(rename, stale);
                }
            }
        }
        const auto outcome = folder.recovery().recover(listed[0]);
        EXPECT_EQ(outcome.status, Status::recovered);
        EXPECT_EQ(outcome.left, std::vector<RecoveryOutcome::Left>{});
        EXPECT_EQ(snapshot(folder.photos), folder.original);
    }
}

// The progress a record keeps may be stale after a power cut, or damaged
// and still valid. For the items of a chain or a swap, which take each
// other's names, no name tells where an item is: each is found by what it is,
// and put back all the same.
TEST(Crashes, ItemsOfChainsAndSwapsAreFoundWhateverTheirRecordSays) {
    using Place = MoveJournal::Place;
    for (std::size_t at = 1; at < kMoves; ++at) {
        for (const bool afterIt : {false, true}) {
            for (const char* item : {"a", "b", "c", "x", "y", "z"}) {
                for (const Place stale : {Place::original, Place::temporary, Place::target}) {
                    SCOPED_TRACE(describe(at, afterIt) + ", " + item + " said to be at place " +
                                 std::to_string(static_cast<int>(stale)));
                    const CrashFolder folder;
                    ASSERT_EQ(folder.crashRenaming(at, afterIt), SIGKILL);
                    const auto listed = folder.recovery().unfinished();
                    ASSERT_EQ(listed.size(), 1u);
                    {
                        auto journal = BatchJournal::open(listed[0].file);
                        ASSERT_TRUE(journal);
                        for (std::uint32_t rename = 0; rename < journal->renames().size(); ++rename) {
                            if (journal->renames()[rename].from == item &&
                                (stale != Place::temporary || journal->order().temporaryName(rename))) {
                                journal->at(rename, stale);
                            }
                        }
                    }
                    const auto outcome = folder.recovery().recover(listed[0]);
                    EXPECT_EQ(outcome.status, Status::recovered);
                    EXPECT_EQ(outcome.left, std::vector<RecoveryOutcome::Left>{});
                    EXPECT_EQ(snapshot(folder.photos), folder.original);
                }
            }
        }
    }
}

// An item given another name after the crash is neither moved nor counted as
// put back: it is named where it is.
TEST(Crashes, AnItemRenamedSinceIsNamedWhereItIs) {
    for (const std::size_t at : {std::size_t{2}, kMoves}) {
        SCOPED_TRACE(describe(at, false));
        const CrashFolder folder;
        ASSERT_EQ(folder.crashRenaming(at, false), SIGKILL);
        const std::string now = std::filesystem::exists(folder.photos + "/q") ? "q" : "p";
        std::filesystem::rename(folder.photos + "/" + now, folder.photos + "/elsewhere");
        const auto outcomes = folder.recovery().recoverAll();
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].status, Status::partlyRecovered);
        ASSERT_EQ(outcomes[0].left.size(), 1u);
        EXPECT_EQ(outcomes[0].left[0].path, folder.photos + "/elsewhere");
        EXPECT_EQ(outcomes[0].left[0].originalName, "p");
        Snapshot expected = folder.original;
        expected["elsewhere"] = expected.at("p");
        expected.erase("p");
        EXPECT_EQ(snapshot(folder.photos), expected);
    }
}

// A batch whose item is stuck under its temporary name (the move on failed,
// and so did the move back) keeps its record, which recovery then takes up.
TEST(Crashes, AnItemLeftUnderItsTemporaryNameKeepsTheRecord) {
    const CrashFolder folder;
    bool failedBack = false;
    const auto scripted = std::make_shared<testing::ScriptedFileSystem>(
        std::make_shared<LocalFileSystem>(),
        [&](std::size_t, const std::string& from, const std::string& to) {
            const bool onToX = to == folder.photos + "/x";
            if (onToX && from == folder.photos + "/z") {
                throw FileSystemError::failed("refused");
            }
            if (onToX && !failedBack) {
                failedBack = true;
                throw FileSystemError::failed("refused");
            }
        });
    const BatchOutcome outcome = folder.runner(scripted).rename(folder.request);
    ASSERT_TRUE(outcome.transaction);
    ASSERT_EQ(outcome.transaction->outcome, RenameTransaction::Outcome::rollbackFailed);
    const auto listed = folder.recovery().unfinished();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].hasEnded);
    const RecoveryOutcome recovered = folder.recovery().recover(listed[0]);
    EXPECT_EQ(recovered.status, Status::recovered);
    EXPECT_EQ(recovered.putBackCount, 1u);
    EXPECT_EQ(snapshot(folder.photos), folder.original);
    EXPECT_TRUE(folder.recovery().recoverAll().empty());
}

// A record is held by the process running its batch: recovery leaves it
// alone until that process is gone.
TEST(Crashes, ARecordHeldByARunningBatchIsLeftAlone) {
    const CrashFolder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        BatchControl control;
        control.progress = [&](const BatchProgress& progress) {
            if (progress.done == 3) {
                const char byte = 1;
                (void)!::write(ready[1], &byte, 1);
                ::pause();
            }
        };
        folder.runner(std::make_shared<LocalFileSystem>()).rename(folder.request, control);
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    const Snapshot meanwhile = snapshot(folder.photos);
    const auto listed = folder.recovery().unfinished();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].isInUse);
    EXPECT_EQ(folder.recovery().recover(listed[0]).status, Status::inUse);
    EXPECT_EQ(snapshot(folder.photos), meanwhile);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(folder.recovery().recover(listed[0]).status, Status::recovered);
    EXPECT_EQ(snapshot(folder.photos), folder.original);
}

// A batch of an older version, starting in another process, holds its record
// while it writes it where it is seen: until the record is whole, it is a
// batch running. Left so by a crash, it had moved nothing, and recovery
// removes it.
TEST(Crashes, ARecordStillBeingWrittenIsInUseNotDamaged) {
    const CrashFolder folder;
    testing::makeFolder(folder.history);
    const std::string path = folder.history + "/starting.journal";
    testing::writeFile(path, "");
    {
        const auto starting = LockedFile::openUnlessHeld(path);
        ASSERT_TRUE(starting);
        const auto listed = folder.recovery().unfinished();
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_TRUE(listed[0].isInUse);
        EXPECT_FALSE(listed[0].problem.has_value());
        EXPECT_EQ(folder.recovery().recover(listed[0]).status, Status::inUse);
    }
    EXPECT_TRUE(folder.recovery().unfinished().empty());
    const auto outcomes = folder.recovery().recoverAll();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].status, Status::neverStarted);
    EXPECT_EQ(folder.historyFiles(), std::vector<std::string>{});
    EXPECT_EQ(snapshot(folder.photos), folder.original);
}

// A batch that ended but could not be recorded is recorded by recovery, not put back.
TEST(Crashes, ABatchThatCouldNotBeRecordedIsRecordedByRecovery) {
    const CrashFolder folder;
    testing::makeFolder(folder.history);
    std::unique_ptr<testing::ReadOnlyFolder> locked;
    auto scripted = std::make_shared<testing::ScriptedFileSystem>(
        std::make_shared<LocalFileSystem>(),
        [&](std::size_t attempt, const std::string&, const std::string&) {
            if (attempt == 0) {
                locked = std::make_unique<testing::ReadOnlyFolder>(folder.history);
            }
        });
    const auto outcome = folder.runner(scripted).rename(folder.request);
    if (locked->errorNumber() == 0) {
        GTEST_SKIP() << "no way to make a folder read-only here";
    }
    EXPECT_EQ(outcome.status, BatchOutcome::Status::ran);
    EXPECT_EQ(outcome.transaction->outcome, RenameTransaction::Outcome::completed);
    ASSERT_EQ(outcome.recording.kind, HistoryRecording::Kind::failed);
    EXPECT_NE(outcome.recording.error.find(folder.history), std::string::npos) << outcome.recording.error;
    locked.reset();
    const Snapshot renamed = snapshot(folder.photos);

    const auto listed = folder.recovery().unfinished();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].hasEnded);
    const auto recovered = folder.recovery().recover(listed[0]);
    EXPECT_EQ(recovered.status, Status::recovered);
    EXPECT_EQ(recovered.recording.kind, HistoryRecording::Kind::recorded);
    EXPECT_EQ(snapshot(folder.photos), renamed);
    const auto history = HistoryStore(folder.history).load();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].id, outcome.transaction->id);
    EXPECT_EQ(history[0].operations, outcome.transaction->operations);
    EXPECT_EQ(history[0].outcome, RenameTransaction::Outcome::completed);
    EXPECT_TRUE(folder.recovery().unfinished().empty());
}

} // namespace
} // namespace morvane
