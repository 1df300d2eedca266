#include "engine/transactions/HistoryStore.h"

#include "engine/filesystem/LocalFileSystem.h"
#include "engine/testing/Crashes.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/RenameExecutor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using testing::namesIn;
using testing::secondsSinceEpoch;
using testing::snapshot;
using testing::TempFolder;
using testing::writeFile;

RenameTransaction transactionAt(long long seconds, const std::string& uuid, State state = State::done) {
    RenameTransaction transaction;
    transaction.id = *Uuid::parse(uuid);
    transaction.date = secondsSinceEpoch(seconds);
    transaction.directory = "/Users/me/Fotos";
    transaction.operations = {Operation{
        "/Users/me/Fotos/a.txt", "/Users/me/Fotos", "a.txt", "a\u00f1o.txt", false, state, {}, false}};
    return transaction;
}

TEST(HistoryStore, WritesSortedPrettyJsonWithoutOptionalKeys) {
    auto transaction = transactionAt(1796454909, "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0ff");
    transaction.date += std::chrono::milliseconds(400);
    EXPECT_EQ(HistoryStore::fileName(transaction),
              "20261205-071509-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0FF.json");
    EXPECT_EQ(HistoryStore::encode(transaction), R"({
  "date": "2026-12-05T07:15:09Z",
  "directory": "/Users/me/Fotos",
  "id": "0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0FF",
  "operations": [
    {
      "directory": "/Users/me/Fotos",
      "from": "a.txt",
      "id": "/Users/me/Fotos/a.txt",
      "isDirectory": false,
      "isReverted": false,
      "state": "done",
      "to": "año.txt"
    }
  ],
  "outcome": "completed",
  "preciseDate": "2026-12-05T07:15:09.400000000Z"
}
)");
    transaction.presetName = "Fotos";
    transaction.failure = "\u201Cb\u201D already exists";
    transaction.operations[0].message = "x";
    const std::string text = HistoryStore::encode(transaction);
    EXPECT_EQ(HistoryStore::decode(text), transaction);

    // Without a usable precise date, a record reads in whole seconds.
    const std::string precise = "\"preciseDate\": \"2026-12-05T07:15:09.400000000Z\"";
    auto expected = transaction;
    expected.date = secondsSinceEpoch(1796454909);
    for (const char* other :
         {"\"preciseDate\": \"2026-12-05T07:15:10.400000000Z\"",
          "\"preciseDate\": \"2026-12-05T07:15:09.4Z\"", "\"preciseDate\": 12", "\"preciseDate0\": \"\""}) {
        auto changed = text;
        changed.replace(changed.find(precise), precise.size(), other);
        EXPECT_EQ(HistoryStore::decode(changed), expected) << other;
    }
}

TEST(HistoryStore, LoadsNewestFirstAndSavesOneFilePerTransaction) {
    TempFolder dir;
    const HistoryStore store(dir / "History/nested");
    EXPECT_TRUE(store.load().empty());
    const auto oldest = transactionAt(100, "00000000-0000-4000-8000-000000000001");
    const auto middle = transactionAt(200, "00000000-0000-4000-8000-000000000002");
    const auto newest = transactionAt(300, "00000000-0000-4000-8000-000000000003", State::rolledBack);
    for (const auto* transaction : {&middle, &newest, &oldest}) {
        store.save(*transaction);
    }
    EXPECT_EQ(store.load(), (std::vector{newest, middle, oldest}));
    EXPECT_EQ(store.latestUndoable(), middle);

    auto undone = middle;
    undone.operations[0].isReverted = true;
    store.save(undone);
    EXPECT_EQ(namesIn(store.directory()).size(), 3u);
    EXPECT_EQ(store.latestUndoable(), oldest);

    store.remove(oldest);
    EXPECT_EQ(store.latestUndoable(), std::nullopt);
    EXPECT_THROW(store.remove(oldest), std::filesystem::filesystem_error);
}

// Batches made within one second, recorded under names whose order is not
// theirs: the newest is always first, also after an older one is saved again.
TEST(HistoryStore, OrdersBatchesOfOneSecondByTheirStart) {
    TempFolder dir;
    const HistoryStore store(dir / "History");
    auto first = transactionAt(100, "00000000-0000-4000-8000-00000000000C");
    auto second = transactionAt(100, "00000000-0000-4000-8000-00000000000A");
    auto third = transactionAt(100, "00000000-0000-4000-8000-00000000000B");
    first.date += std::chrono::milliseconds(10);
    second.date += std::chrono::milliseconds(20);
    third.date += std::chrono::microseconds(20001);
    for (const auto* transaction : {&third, &first, &second}) {
        store.save(*transaction);
    }
    EXPECT_EQ(store.load(), (std::vector{third, second, first}));
    second.operations.push_back(second.operations[0]);
    second.operations[0].isReverted = true;
    store.save(second);
    EXPECT_EQ(store.load(), (std::vector{third, second, first}));
    EXPECT_EQ(store.latestUndoable(), third);
}

// `transaction` as versions before the precise start wrote it, to `store`'s folder.
void writeWithoutPreciseDate(const HistoryStore& store, const RenameTransaction& transaction) {
    std::string text = HistoryStore::encode(transaction);
    const auto key = text.find(",\n  \"preciseDate\"");
    text.erase(key, text.find('\n', key + 2) - key);
    writeFile(store.directory() + "/" + HistoryStore::fileName(transaction), text);
}

// Records written before the precise start was kept: within their second,
// the time their file was written orders them, and saving one again (which
// rewrites the file) must not move it ahead of newer ones.
TEST(HistoryStore, OrdersOlderRecordsOfOneSecondByTheirFilesTime) {
    TempFolder dir;
    const HistoryStore store(dir / "History");
    testing::makeFolder(store.directory());
    std::vector<RenameTransaction> transactions;
    const char* uuids[] = {"00000000-0000-4000-8000-00000000000C", "00000000-0000-4000-8000-00000000000A",
                           "00000000-0000-4000-8000-00000000000B"};
    for (std::size_t i = 0; i < 3; ++i) {
        auto transaction = transactionAt(100, uuids[i]);
        transaction.operations.push_back(transaction.operations[0]);
        writeWithoutPreciseDate(store, transaction);
        const std::string file = store.directory() + "/" + HistoryStore::fileName(transaction);
        const timespec written[2] = {{0, UTIME_OMIT}, {100, static_cast<long>(i + 1) * 100000000}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), written, 0), 0);
        transaction.date += std::chrono::milliseconds((i + 1) * 100);
        transactions.push_back(transaction);
    }
    // A record whose file was written in a later second stays in its own second.
    auto late = transactionAt(99, "00000000-0000-4000-8000-00000000000D");
    writeWithoutPreciseDate(store, late);
    late.date += std::chrono::seconds(1) - Date::duration(1);

    const std::vector expected{transactions[2], transactions[1], transactions[0], late};
    ASSERT_EQ(store.load(), expected);
    auto partlyUndone = store.load()[1];
    partlyUndone.operations[0].isReverted = true;
    store.save(partlyUndone);
    const auto reloaded = store.load();
    ASSERT_EQ(reloaded.size(), 4u);
    EXPECT_EQ(reloaded[1], partlyUndone);
    EXPECT_EQ(reloaded[0], transactions[2]);
}

TEST(HistoryStore, PreparingProvesTheFolderCanBeWritten) {
    TempFolder dir;
    const HistoryStore nested(dir / "a/b/History");
    nested.prepare();
    EXPECT_TRUE(std::filesystem::is_directory(nested.directory()));
    EXPECT_TRUE(namesIn(nested.directory()).empty()) << "the test file is removed";
    // Killed as it proves it, a process leaves nothing; a test file that an
    // older version left so is removed the next time.
    const int ended = testing::signalEndingChildWhenCreated(
        nested.directory(), [](std::string_view name) { return name.starts_with(".write-test-"); },
        [&] { nested.prepare(); });
    EXPECT_TRUE(ended == 0 || ended == SIGKILL) << ended;
    EXPECT_TRUE(namesIn(nested.directory()).empty());
    writeFile(nested.directory() + "/.write-test-1E0E0E0E-0000-4000-8000-000000000000", "");
    nested.prepare();
    EXPECT_TRUE(namesIn(nested.directory()).empty());

    writeFile(dir / "file", "");
    EXPECT_THROW(HistoryStore(dir / "file/History").prepare(), std::system_error);

    testing::makeFolder(dir / "locked/History");
    const testing::ReadOnlyFolder readOnly(dir / "locked/History");
    if (readOnly.errorNumber() == 0) {
        GTEST_SKIP() << "no way to make a folder read-only here";
    }
    try {
        HistoryStore(dir / "locked/History").prepare();
        ADD_FAILURE() << "a read-only folder was accepted";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().value(), readOnly.errorNumber());
    }
}

TEST(HistoryStore, TextThatIsNotUtf8LeavesNoFileBehind) {
    TempFolder dir;
    const HistoryStore store(dir / "History");
    auto transaction = transactionAt(100, "00000000-0000-4000-8000-000000000001");
    transaction.operations[0].to = "caf\xe9";
    EXPECT_ANY_THROW(store.save(transaction));
    EXPECT_TRUE(snapshot(dir.path()).empty());
}

// A history folder with a damaged file, a foreign one, a file whose extension
// is not exactly "json", and a transaction whose names point out of its folder.
TEST(HistoryStore, SkipsWhatIsNoTransactionAndUndoStaysInsideEachFolder) {
    TempFolder dir;
    const HistoryStore store(dir / "History");
    const auto valid = transactionAt(100, "00000000-0000-4000-8000-000000000001");
    store.save(valid);
    const std::string history = store.directory();
    writeFile(history + "/corrupt.json", HistoryStore::encode(valid).substr(0, 80));
    writeFile(history + "/notes.json", R"({"title": "shopping", "items": ["milk"]})");
    writeFile(history + "/x.JSON",
              HistoryStore::encode(transactionAt(900, "00000000-0000-4000-8000-000000000009")));
    auto unknownState = HistoryStore::encode(transactionAt(800, "00000000-0000-4000-8000-000000000008"));
    unknownState.replace(unknownState.find("\"done\""), 6, "\"gone\"");
    writeFile(history + "/unknown-state.json", unknownState);

    testing::makeFolder(dir / "work/sub");
    writeFile(dir / "victim", "outside");
    writeFile(dir / "work/sub/inner", "inner");
    RenameTransaction escaping = transactionAt(500, "00000000-0000-4000-8000-000000000005");
    escaping.operations = {
        Operation{"1", dir / "work", "../victim-renamed", "../victim", false, State::done, {}, false},
        Operation{"2", dir / "work", "moved-out", "sub/inner", false, State::done, {}, false},
    };
    writeFile(history + "/escaping.json", HistoryStore::encode(escaping));

    const auto listing = store.loadReporting();
    const auto& loaded = listing.transactions;
    ASSERT_EQ(loaded, (std::vector{escaping, valid}));
    ASSERT_EQ(listing.unreadable.size(), 3u);
    EXPECT_EQ(listing.unreadable[0].file, history + "/corrupt.json");
    EXPECT_TRUE(listing.unreadable[0].reason.starts_with("not valid JSON (parse error"))
        << listing.unreadable[0].reason;
    EXPECT_EQ(listing.unreadable[1].file, history + "/notes.json");
    EXPECT_TRUE(listing.unreadable[1].reason.starts_with("not a rename record ("))
        << listing.unreadable[1].reason;
    EXPECT_EQ(listing.unreadable[2].file, history + "/unknown-state.json");
    EXPECT_NE(listing.unreadable[2].reason.find("unknown state"), std::string::npos)
        << listing.unreadable[2].reason;
    const auto before = snapshot(dir.path());
    const auto report = RenameExecutor(std::make_shared<LocalFileSystem>()).undo(loaded[0], false);
    EXPECT_EQ(report.revertedCount(), 0u);
    EXPECT_EQ(report.skippedCount(), 2u);
    EXPECT_EQ(snapshot(dir.path()), before);
}

} // namespace
} // namespace morvane
