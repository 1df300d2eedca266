#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/Crc32.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/JournalBytes.h"
#include "engine/transactions/Recovery.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using namespace journalbytes;

// A write-ahead record as the first version wrote it, which kept no
// identities: a chain b→c, a→b in `folder`, stopped after its first move.
std::string firstVersionRecord(const std::string& folder) {
    std::string stream;
    putVarint(stream, 1); // one folder
    putText(stream, folder);
    const std::pair<const char*, const char*> renames[]{{"a", "b"}, {"b", "c"}};
    for (std::size_t operation = 0; operation < 2; ++operation) {
        putVarint(stream, 0); // its folder
        putText(stream, renames[operation].first);
        putText(stream, renames[operation].second);
        stream += '\0'; // no flags: a file, whose id is its path, with no temporary name
        putVarint(stream, operation);
    }
    putVarint(stream, 1 << 1); // b→c first
    putVarint(stream, 0 << 1); // then a→b

    std::string payload(1, '\0'); // a rename
    payload.append(16, '\x42');   // its id
    putFixed(payload, 0, 8);
    putFixed(payload, 0, 8);
    putFixed(payload, 2, 8); // renames
    putFixed(payload, 2, 8); // moves
    putFixed(payload, stream.size(), 8);
    putFixed(payload, 1, 8); // blocks
    putText(payload, folder);
    payload += '\0';
    putText(payload, "");

    std::string record("MRVNJNL\x01", 8);
    putFixed(record, 0, 8); // running
    putFixed(record, payload.size(), 4);
    putFixed(record, Crc32::of(payload), 4);
    record += payload;
    record.resize(4096, '\0');
    record += '\x00'; // a→b not made
    record += '\x02'; // b→c made
    record.resize(8192, '\0');
    putFixed(record, stream.size(), 4);
    putFixed(record, Crc32::of(stream), 4);
    return record + stream;
}

// Records left by older versions are still recovered, by names.
TEST(OlderRecords, AreStillRecovered) {
    testing::TempFolder root;
    const std::string photos = root / "photos";
    testing::makeFolder(photos);
    testing::writeFile(photos + "/a", "A");
    testing::writeFile(photos + "/c", "B"); // b, moved to c before the crash
    testing::makeFolder(root / "History");
    testing::writeFile(root / "History/20000101-000000-older.journal", firstVersionRecord(photos));

    const Recovery recovery(std::make_shared<LocalFileSystem>(), HistoryStore(root / "History"));
    const auto listed = recovery.unfinished();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].itemCount, 2u);
    const RecoveryOutcome outcome = recovery.recover(listed[0]);
    EXPECT_EQ(outcome.status, RecoveryOutcome::Status::recovered) << listed[0].problem.value_or("");
    EXPECT_EQ(outcome.putBackCount, 1u);
    EXPECT_EQ(testing::snapshot(photos), (std::map<std::string, std::string>{{"a", "A"}, {"b", "B"}}));
    EXPECT_TRUE(recovery.unfinished().empty());
}

} // namespace
} // namespace morvane
