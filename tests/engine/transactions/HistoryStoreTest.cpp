#include "engine/transactions/HistoryStore.h"

#include "engine/filesystem/LocalFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/RenameExecutor.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
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

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& [name, contents] : snapshot(folder)) {
        names.push_back(name);
    }
    return names;
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
  "outcome": "completed"
}
)");
    transaction.presetName = "Fotos";
    transaction.failure = "\u201Cb\u201D already exists";
    transaction.operations[0].message = "x";
    const auto decoded = HistoryStore::decode(HistoryStore::encode(transaction));
    ASSERT_TRUE(decoded);
    transaction.date = secondsSinceEpoch(1796454909);
    EXPECT_EQ(*decoded, transaction);
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
    EXPECT_TRUE(undone.isFullyUndone());
    EXPECT_FALSE(newest.isFullyUndone());

    store.remove(oldest);
    EXPECT_EQ(store.latestUndoable(), std::nullopt);
    EXPECT_THROW(store.remove(oldest), std::filesystem::filesystem_error);
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

    const auto loaded = store.load();
    ASSERT_EQ(loaded, (std::vector{escaping, valid}));
    const auto before = snapshot(dir.path());
    const auto report = RenameExecutor(std::make_shared<LocalFileSystem>()).undo(loaded[0], false);
    EXPECT_EQ(report.revertedCount(), 0u);
    EXPECT_EQ(report.skippedCount(), 2u);
    EXPECT_EQ(snapshot(dir.path()), before);
}

} // namespace
} // namespace morvane
