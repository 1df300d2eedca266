#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/RenameExecutor.h"
#include "engine/transactions/TransactionFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace morvane {
namespace {

using Strings = std::vector<std::string>;
using Status = UndoReport::Status;
using Reason = UndoReport::Reason;
using testing::renameOf;

struct Volume {
    std::shared_ptr<InMemoryFileSystem> fs;
    RenameExecutor executor;

    Volume(bool caseSensitive, const Strings& files)
        : fs(std::make_shared<InMemoryFileSystem>(caseSensitive)),
          executor(fs, &RenameExecutor::systemNow, testing::numberedTemporaryNames()) {
        for (const auto& file : files) {
            fs->addFile(file);
        }
    }

    // The moves made since the first `skip` ones.
    Strings movesAfter(std::size_t skip) const {
        const auto all = fs->moves();
        return Strings(all.begin() + static_cast<std::ptrdiff_t>(skip), all.end());
    }
};

TEST(Undo, FollowsFoldersRenamedInTheSameBatch) {
    Volume volume(true, {"/p/a/x"});
    const auto done =
        volume.executor.execute({renameOf("/p", "a", "b", true), renameOf("/p/a", "x", "y")}, "/p", {});
    ASSERT_EQ(volume.fs->paths(), (Strings{"/p", "/p/b", "/p/b/y"}));
    // Each item is looked for where it is now, under the folder's new name.
    EXPECT_EQ(volume.executor.undo(done, true).folders,
              (std::map<std::size_t, std::string>{{0, "/p"}, {1, "/p/b"}}));
    const auto report = volume.executor.undo(done, false);
    EXPECT_EQ(volume.movesAfter(2), (Strings{"/p/b/y -> /p/b/x", "/p/b -> /p/a"}));
    EXPECT_EQ(report.statuses,
              (std::map<std::size_t, Status>{{0, Status::reverted()}, {1, Status::reverted()}}));
    EXPECT_TRUE(report.transaction.isFullyUndone());
    EXPECT_FALSE(report.isPartial());
    EXPECT_TRUE(volume.executor.undo(report.transaction, false).statuses.empty());
}

// A swap of two folders that hold the same names: each item must be looked
// for under the folder that now holds it, not under its old folder's new name.
TEST(Undo, TellsSwappedFoldersApart) {
    Volume volume(true, {"/p/a/x", "/p/b/z"});
    const auto done = volume.executor.execute(
        {renameOf("/p", "a", "b", true), renameOf("/p", "b", "a", true), renameOf("/p/a", "x", "z")}, "/p",
        {});
    ASSERT_EQ(volume.fs->paths(), (Strings{"/p", "/p/a", "/p/a/z", "/p/b", "/p/b/z"}));
    const auto report = volume.executor.undo(done, false);
    EXPECT_EQ(report.revertedCount(), 3u);
    EXPECT_EQ(volume.fs->paths(), (Strings{"/p", "/p/a", "/p/a/x", "/p/b", "/p/b/z"}));
    EXPECT_EQ(volume.movesAfter(4).front(), "/p/b/z -> /p/b/x");
}

TEST(Undo, SkipsWhatChangedSinceAndPutsBackTheRest) {
    Volume volume(false, {"/d/a", "/d/b", "/d/c", "/d/s1", "/d/s2"});
    const auto done = volume.executor.execute({renameOf("/d", "a", "A2"), renameOf("/d", "b", "B2"),
                                               renameOf("/d", "c", "C2"), renameOf("/d", "s1", "s2"),
                                               renameOf("/d", "s2", "s1")},
                                              "/d", {});
    volume.fs->move("/d/B2", "/elsewhere"); // gone from the folder
    volume.fs->addFile("/d/C");             // takes c's old name, in another case

    const auto dry = volume.executor.undo(done, true);
    EXPECT_EQ(dry.transaction, done);
    EXPECT_EQ(volume.movesAfter(7), Strings{});

    const auto report = volume.executor.undo(done, false);
    EXPECT_EQ(report.statuses,
              (std::map<std::size_t, Status>{{0, Status::reverted()},
                                             {1, Status::changedSince(Reason::missing)},
                                             {2, Status::changedSince(Reason::targetOccupied)},
                                             {3, Status::reverted()},
                                             {4, Status::reverted()}}));
    EXPECT_EQ(dry.statuses, report.statuses);
    EXPECT_TRUE(report.isPartial());
    EXPECT_EQ(report.skippedCount(), 2u);
    EXPECT_EQ(volume.movesAfter(7), (Strings{"/d/A2 -> /d/a", "/d/s2 -> /d/.morvane-tmp-2", "/d/s1 -> /d/s2",
                                             "/d/.morvane-tmp-2 -> /d/s1"}));
    EXPECT_EQ(report.transaction.revertibleCount(), 2u);
    EXPECT_EQ(report.transaction.operations[1].state, RenameTransaction::Operation::State::done);
}

TEST(Undo, AFailedMoveBackLeavesNoItemUnderATemporaryName) {
    Volume volume(false, {"/d/report"});
    const auto done = volume.executor.execute({renameOf("/d", "report", "Report")}, "/d", {});
    auto failing = std::make_shared<testing::ScriptedFileSystem>(
        volume.fs, [](std::size_t, const std::string&, const std::string& to) {
            if (to == "/d/report") {
                throw FileSystemError::failed("injected");
            }
        });
    const auto report = RenameExecutor(failing).undo(done, false);
    EXPECT_EQ(report.statuses.at(0), Status::failed("injected"));
    EXPECT_FALSE(report.transaction.operations[0].isReverted);
    EXPECT_EQ(volume.fs->paths(), (Strings{"/d", "/d/Report"}));
}

// The undo of a swap parks one item under a temporary name. When its last
// move fails and its own name has meanwhile gone to the other item, it stays
// parked, and its status says under which name.
TEST(Undo, AnItemLeftUnderATemporaryNameIsReportedUnderIt) {
    Volume volume(true, {"/d/a", "/d/b"});
    const auto done = volume.executor.execute({renameOf("/d", "a", "b"), renameOf("/d", "b", "a")}, "/d", {});
    auto failing = std::make_shared<testing::ScriptedFileSystem>(
        volume.fs, [](std::size_t, const std::string& from, const std::string&) {
            if (from.starts_with("/d/.morvane-tmp-")) {
                throw FileSystemError::failed("injected");
            }
        });
    const auto report = RenameExecutor(failing, &RenameExecutor::systemNow, [] {
                            return std::string(".morvane-tmp-X");
                        }).undo(done, false);
    EXPECT_EQ(report.statuses,
              (std::map<std::size_t, Status>{
                  {0, Status::failed("injected (it is now named \u201C.morvane-tmp-X\u201D)")},
                  {1, Status::reverted()}}));
    EXPECT_EQ(volume.fs->paths(), (Strings{"/d", "/d/.morvane-tmp-X", "/d/b"}));
}

// A stop between two moves of an undo: what was put back stays put back, the
// rest is `notRun` and can be undone later, and an item parked for a swap is
// never left under its temporary name.
TEST(Undo, AStopLeavesTheRestForLaterAndNothingParked) {
    for (std::size_t stopAfter = 0; stopAfter <= 4; ++stopAfter) {
        Volume volume(true, {"/d/a", "/d/b", "/d/c"});
        const auto done = volume.executor.execute(
            {renameOf("/d", "a", "b"), renameOf("/d", "b", "a"), renameOf("/d", "c", "z")}, "/d", {});
        // Undo's plan: 0 z→c  1 b→T  2 a→b  3 T→a
        testing::ProgressLog log([&](const BatchProgress& progress) { return progress.done == stopAfter; });
        const auto report = volume.executor.undo(done, false, log.control());
        for (const auto& path : volume.fs->paths()) {
            EXPECT_EQ(path.find("tmp"), std::string::npos) << stopAfter;
        }
        // R(everted) or N(ot run) per item. Once the swap's second move is
        // made, its parked item goes on to its own name.
        std::string kinds;
        for (const auto& [index, status] : report.statuses) {
            kinds += status.kind == Status::Kind::reverted ? 'R'
                     : status.kind == Status::Kind::notRun ? 'N'
                                                           : '?';
        }
        const char swapped = stopAfter >= 3 ? 'R' : 'N';
        EXPECT_EQ(kinds, std::string({swapped, swapped, stopAfter >= 1 ? 'R' : 'N'})) << stopAfter;
        EXPECT_EQ(log.seen.back().done, std::min<std::size_t>(stopAfter, 4)) << stopAfter;
        const auto rest = volume.executor.undo(report.transaction, false);
        EXPECT_FALSE(rest.isPartial()) << stopAfter;
        EXPECT_EQ(volume.fs->paths(), (Strings{"/d", "/d/a", "/d/b", "/d/c"})) << stopAfter;
    }
}

// A file system that fails in a way the contract does not foresee.
class BrokenVolume : public InMemoryFileSystem {
public:
    BrokenVolume() : InMemoryFileSystem(true) {}
    bool isCaseSensitive(const std::string& directory) const override {
        if (broken) {
            throw std::runtime_error("volume went away");
        }
        return InMemoryFileSystem::isCaseSensitive(directory);
    }
    bool broken = false;
};

TEST(Undo, AnUnexpectedErrorKeepsItsOwnText) {
    auto volume = std::make_shared<BrokenVolume>();
    volume->addFile("/d/a");
    volume->addFile("/d/x");
    const auto done = RenameExecutor(volume).execute({renameOf("/d", "a", "b")}, "/d", {});
    volume->addFile("/d/a"); // the old name is taken: undo asks whether case matters
    volume->broken = true;
    const auto report = RenameExecutor(volume).undo(done, false);
    EXPECT_EQ(report.statuses, (std::map<std::size_t, Status>{{0, Status::failed("volume went away")}}));
}

// Records edited by hand or written by other tools need not give each item its
// own id: an old name held by another operation of the batch is free, whatever
// the ids say.
TEST(Undo, ASwapIsTakenBackAlsoWhenItsItemsShareAnId) {
    Volume volume(true, {"/d/a", "/d/b"});
    const auto sharingId = [](const char* from, const char* to) {
        return RenameOperation{FileItem(from, "/d", {}, {}, 0, false, true, "item"), from, to};
    };
    const auto done = volume.executor.execute({sharingId("a", "b"), sharingId("b", "a")}, "/d", {});
    ASSERT_EQ(done.appliedCount(), 2u);
    const auto report = volume.executor.undo(done, false);
    EXPECT_EQ(report.revertedCount(), 2u);
    EXPECT_TRUE(report.transaction.isFullyUndone());
}

} // namespace
} // namespace morvane
