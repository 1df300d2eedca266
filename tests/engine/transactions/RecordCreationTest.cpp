#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/filesystem/LockedFile.h"
#include "engine/testing/Crashes.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/ScriptedRules.h"
#include "engine/transactions/BatchRunner.h"
#include "engine/transactions/Recovery.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace morvane {
namespace {

using testing::snapshot;
using Snapshot = std::map<std::string, std::string>;

// Enough files that writing a batch's record takes a while: a kill can land
// in the middle of it.
constexpr int kFiles = 5000;

struct LargeFolder {
    testing::TempFolder root;
    std::string files = root / "files";
    std::string history = root / "History";
    Snapshot original;

    LargeFolder() {
        testing::makeFolder(files);
        testing::makeFolder(history);
        for (int i = 0; i < kFiles; ++i) {
            testing::writeFile(files + "/f" + std::to_string(i), std::to_string(i));
        }
        original = snapshot(files);
    }

    BatchRunner runner() const {
        return BatchRunner(BatchRunner::Services{std::make_shared<LocalFileSystem>(), HistoryStore(history)});
    }
    Recovery recovery() const { return Recovery(std::make_shared<LocalFileSystem>(), HistoryStore(history)); }
    BatchRunner::Request request() const {
        BatchRunner::Request request;
        for (const auto& [name, contents] : original) {
            request.items.push_back(FileItem(name, files, {}, {}, 0, false, true));
        }
        request.pipeline = RenamePipeline({makeStep(testing::ScriptedRule(
            [](FileName& name, const RuleContext&) { name = FileName::parsing("g" + name.full()); }))});
        request.folder = files;
        return request;
    }
    // Whatever is in the history folder besides the batches' own records.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& name : testing::namesIn(history)) {
            if (!name.ends_with(".json")) {
                names.push_back(name);
            }
        }
        return names;
    }
};

bool isRecord(std::string_view name) {
    return name.ends_with(".journal");
}
bool isAnyPartOfARecord(std::string_view name) {
    return name.find(".journal") != std::string_view::npos;
}

// Killed as its record is being written, or the moment it is in place, a
// batch has moved nothing: recovery clears what it left, and nothing stands
// in the way of a later undo.
TEST(RecordCreation, AKillWhileTheRecordIsMadeLeavesNothingInTheWay) {
    for (const bool undoing : {false, true}) {
        for (const auto& killsAt : {&isAnyPartOfARecord, &isRecord}) {
            SCOPED_TRACE(std::string(undoing ? "undo" : "rename") +
                         (killsAt == &isRecord ? ", killed as its record appears" : ", killed as it writes"));
            const LargeFolder folder;
            if (undoing) {
                ASSERT_EQ(folder.runner().rename(folder.request()).recording.kind,
                          HistoryRecording::Kind::recorded);
            }
            const Snapshot before = snapshot(folder.files);
            ASSERT_EQ(testing::signalEndingChildWhenCreated(folder.history, killsAt,
                                                            [&] {
                                                                undoing ? (void)folder.runner().undo({})
                                                                        : (void)folder.runner().rename(
                                                                              folder.request());
                                                            }),
                      SIGKILL);
            for (const RecoveryOutcome& outcome : folder.recovery().recoverAll()) {
                EXPECT_TRUE(outcome.isWhole()) << outcome.batch.problem.value_or("");
            }
            EXPECT_EQ(folder.leftovers(), std::vector<std::string>{});
            EXPECT_TRUE(folder.recovery().recoverAll().empty());
            const auto recorded = HistoryStore(folder.history).load();
            if (recorded.size() == (undoing ? 1u : 0u)) {
                EXPECT_EQ(snapshot(folder.files), before) << "moves were made before the record was whole";
            }
            const UndoOutcome undone = folder.runner().undo({});
            EXPECT_EQ(undone.status,
                      recorded.empty() ? UndoOutcome::Status::nothingToUndo : UndoOutcome::Status::ran);
            EXPECT_EQ(snapshot(folder.files), folder.original);
        }
    }
}

// Another process looking at the history folder while a batch starts sees
// its record whole and held, or not at all, and never stops the batch. (The
// items are in memory, so that there are enough of them for the record to
// take a while to write.)
TEST(RecordCreation, ARecordComesIntoViewWholeAndHeld) {
    const LargeFolder folder;
    const auto memory = std::make_shared<InMemoryFileSystem>(true);
    BatchRunner::Request request = folder.request();
    request.items.clear();
    for (int i = 0; i < 100000; ++i) {
        const std::string name = "f" + std::to_string(i);
        memory->addFile("/m/" + name);
        request.items.push_back(FileItem(name, "/m", {}, {}, 0, false, true));
    }
    request.folder = "/m";
    std::atomic<bool> done = false;
    std::set<std::string> seen, recovered; // what was wrong, once each
    std::thread reader([&] {
        while (!done) {
            for (const auto& entry : std::filesystem::directory_iterator(folder.history)) {
                const std::string path = entry.path().string();
                if (!isRecord(path)) {
                    continue;
                }
                try {
                    BatchJournal::readHeader(path);
                    if (!LockedFile::isHeld(path) && std::filesystem::exists(path)) {
                        seen.insert(path + " is not held");
                    }
                } catch (const BatchJournal::Damaged& error) {
                    seen.insert(path + ": " + error.what());
                } catch (const std::system_error&) {
                    // Removed meanwhile: the batch ended.
                }
            }
        }
    });
    std::thread recovery([&] {
        while (!done) {
            for (const RecoveryOutcome& outcome : folder.recovery().recoverAll()) {
                // Running, or ended between the listing and the look: nothing else.
                if (outcome.status != RecoveryOutcome::Status::inUse &&
                    outcome.status != RecoveryOutcome::Status::alreadyFinished) {
                    recovered.insert(outcome.batch.file + ": " + outcome.batch.problem.value_or(""));
                }
            }
        }
    });
    const BatchOutcome outcome =
        BatchRunner(BatchRunner::Services{memory, HistoryStore(folder.history)}).rename(std::move(request));
    done = true;
    reader.join();
    recovery.join();
    EXPECT_EQ(outcome.status, BatchOutcome::Status::ran) << outcome.historyError;
    EXPECT_EQ(outcome.recording.kind, HistoryRecording::Kind::recorded);
    EXPECT_EQ(seen, std::set<std::string>{});
    EXPECT_EQ(recovered, std::set<std::string>{}) << "recovery took up a running batch";
}

// A draft is made, then locked by its maker, who holds its folder meanwhile:
// a recovery clearing abandoned drafts in that moment leaves it alone.
TEST(RecordCreation, ADraftNotYetLockedIsNotTakenForAnAbandonedOne) {
    const LargeFolder folder;
    const std::string draft = folder.history + "/20991231-235959-making.journal-0A1B2C3D.draft";
    const int maker = ::open(folder.history.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(maker, LOCK_SH), 0);
    testing::writeFile(draft, "");
    EXPECT_TRUE(folder.recovery().recoverAll().empty());
    EXPECT_TRUE(std::filesystem::exists(draft));
    ::close(maker);
    const auto outcomes = folder.recovery().recoverAll();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].status, RecoveryOutcome::Status::neverStarted);
    EXPECT_FALSE(std::filesystem::exists(draft));
}

// Older versions wrote the record in place, and a kill could leave it empty:
// such a record is removed by recovery and blocks no undo.
TEST(RecordCreation, AnEmptyRecordFromAnOlderVersionIsRemoved) {
    const LargeFolder folder;
    const BatchOutcome renamed = folder.runner().rename(folder.request());
    ASSERT_EQ(renamed.recording.kind, HistoryRecording::Kind::recorded);
    const HistoryStore history(folder.history);
    testing::writeFile(
        history.journalPath(BatchJournal::Kind::undo, renamed.transaction->id, renamed.transaction->date),
        "");
    testing::writeFile(history.journalPath(BatchJournal::Kind::rename, Uuid::random(), Date{}), "");
    EXPECT_EQ(folder.recovery().unfinished(), std::vector<UnfinishedBatch>{});
    const auto outcomes = folder.recovery().recoverAll();
    EXPECT_EQ(outcomes.size(), 2u);
    for (const RecoveryOutcome& outcome : outcomes) {
        EXPECT_TRUE(outcome.isWhole()) << outcome.batch.file;
    }
    EXPECT_EQ(folder.leftovers(), std::vector<std::string>{});
    EXPECT_EQ(folder.runner().undo({}).status, UndoOutcome::Status::ran);
    EXPECT_EQ(snapshot(folder.files), folder.original);
}

} // namespace
} // namespace morvane
