#include "engine/transactions/Recovery.h"

#include "ModelTesting.h"
#include "app/desktop/tools/InterruptedBatch.h"

#include <fstream>
#include <map>

namespace morvane::app::testing {
namespace {

using morvane::testing::snapshot;
using morvane::testing::TempFolder;
using morvane::testing::writeFile;
using Snapshot = std::map<std::string, std::string>;

RenamePipeline imgToX() {
    return RenamePipeline({makeStep(ReplaceRule("IMG_", "x-", false))});
}

// A folder of the real disk with IMG_1.jpg…IMG_<count>.jpg ("one", "two"…) and notes.txt.
Snapshot makePhotos(const std::string& folder, int count) {
    static const char* const contents[] = {"one", "two", "three", "four"};
    morvane::testing::makeFolder(folder);
    for (int i = 0; i < count; ++i) {
        writeFile(folder + "/IMG_" + std::to_string(i + 1) + ".jpg", contents[i]);
    }
    writeFile(folder + "/notes.txt", "notes");
    return snapshot(folder);
}

// Models over the real disk, with a history folder of their own in `root`.
struct RecoveryFixture {
    TempFolder root;
    std::string history = root / "History";
    ModelFixture models;

    std::unique_ptr<AppModel> make() {
        auto environment =
            models.environment(std::make_shared<FolderAccess>(std::make_shared<LocalFileSystem>()));
        environment.historyDirectory = history;
        return std::make_unique<AppModel>(environment);
    }
    std::string journalOf(const std::string& folder) const {
        for (const auto& batch :
             Recovery(std::make_shared<LocalFileSystem>(), HistoryStore(history)).unfinished()) {
            if (batch.directory == folder) {
                return batch.file;
            }
        }
        return {};
    }
};

bool waitForOffer(AppModel& model) {
    return QTest::qWaitFor([&] { return model.recovery().recoveryOffer().isShown; }, 5000);
}

std::string bytesOf(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void anInterruptedBatchIsPutBackAndWhatCannotBeIsNamed() {
        RecoveryFixture fixture;
        const std::string photos = fixture.root / "photos";
        const Snapshot before = makePhotos(photos, 3);
        QVERIFY(leaveInterruptedBatch(photos, fixture.history, imgToX(), 2));
        // Meanwhile a new file took the first one's name.
        writeFile(photos + "/IMG_1.jpg", "newcomer");

        auto model = fixture.make();
        model->items().openFolder(photos);
        QVERIFY(waitForOffer(*model));
        const RecoveryOffer offer = model->recovery().recoveryOffer();
        QCOMPARE(offer.text,
                 "A batch of 3 items in \u201C" + photos + "\u201D was interrupted before it ended.");
        QCOMPARE(offer.putBackButton, std::optional<std::string>("Put Back"));
        QCOMPARE(offer.dismissButton, std::optional<std::string>("Not Now"));

        QSignalSpy busy(&model->batches(), &WindowBatches::busyChanged);
        model->recovery().recoverInterruptedBatches();
        QVERIFY(model->batches().busy());
        QVERIFY(!model->recovery().recoveryOffer().isShown);
        QVERIFY(waitForBatch(*model));
        QCOMPARE(busy.count(), 2);

        Snapshot expected = before;
        expected["IMG_1.jpg"] = "newcomer";
        expected["x-1.jpg"] = "one";
        QCOMPARE(snapshot(photos), expected);
        QCOMPARE(model->batches().actionMessage(),
                 std::optional<std::string>(
                     "1 file was put back. 1 file could not be put back: \u201Cx-1.jpg\u201D \u2192 "
                     "\u201CIMG_1.jpg\u201D (\u201CIMG_1.jpg\u201D already exists). Recorded in Rename "
                     "History as it now stands."));
        QVERIFY(model->batches().resultBanner().isWarning);
        // What is left is recorded, and no record of the batch is left to offer.
        QCOMPARE(HistoryStore(fixture.history).load().size(), 1u);
        QVERIFY(HistoryStore(fixture.history).journalPaths().empty());
        // The folder shown is read again.
        QVERIFY(QTest::qWaitFor([&] {
            const auto& items = model->items().list();
            return !model->items().loading() && items.size() == 5 &&
                   std::any_of(items.begin(), items.end(),
                               [](const auto& item) { return item.name == "x-1.jpg"; });
        }));
    }

    void aWholeRecoveryIsNewsNotAWarning() {
        RecoveryFixture fixture;
        const std::string photos = fixture.root / "photos";
        const Snapshot before = makePhotos(photos, 4);
        QVERIFY(leaveInterruptedBatch(photos, fixture.history, imgToX(), 3));
        auto model = fixture.make();
        QVERIFY(waitForOffer(*model));
        model->recovery().recoverInterruptedBatches();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(snapshot(photos), before);
        QCOMPARE(model->batches().actionMessage(), std::optional<std::string>("3 files were put back."));
        QVERIFY(!model->batches().resultBanner().isWarning);
        QVERIFY(model->batches().resultBanner().dismissButton);
        // Nothing was renamed in the end: nothing to record, nothing left over.
        QVERIFY(HistoryStore(fixture.history).load().empty());
        QVERIFY(HistoryStore(fixture.history).journalPaths().empty());
    }

    // A record that cannot be read is reported, never offered to be put
    // back on its own, and changes nothing; batches another process is
    // running are left out.
    void aDamagedRecordIsOnlyReported() {
        RecoveryFixture fixture;
        const std::string good = fixture.root / "good", damaged = fixture.root / "damaged",
                          running = fixture.root / "running";
        const Snapshot goodBefore = makePhotos(good, 2);
        makePhotos(damaged, 2);
        makePhotos(running, 2);
        for (const auto& folder : {good, damaged, running}) {
            QVERIFY(leaveInterruptedBatch(folder, fixture.history, imgToX(), 1));
        }
        const std::string journal = fixture.journalOf(damaged);
        const std::string cut = bytesOf(journal).substr(0, 30);
        std::ofstream(journal, std::ios::binary | std::ios::trunc) << cut;
        const Snapshot damagedBefore = snapshot(damaged);
        auto held = BatchJournal::open(fixture.journalOf(running));
        QVERIFY(held);

        auto model = fixture.make();
        QVERIFY(waitForOffer(*model));
        const std::string report =
            "The record of an interrupted batch, \u201C" + journal +
            "\u201D, cannot be read (its header is damaged), so its files cannot be put back.";
        QCOMPARE(model->recovery().recoveryOffer().text,
                 "A batch of 2 items in \u201C" + good + "\u201D was interrupted before it ended. " + report);
        model->recovery().recoverInterruptedBatches();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(snapshot(good), goodBefore);
        QCOMPARE(snapshot(damaged), damagedBefore);
        QCOMPARE(bytesOf(journal), cut);
        QCOMPARE(model->batches().actionMessage(),
                 std::optional<std::string>("1 file was put back. " + report));
        QVERIFY(model->batches().resultBanner().isWarning);
        QVERIFY(!model->recovery().recoveryOffer().isShown);

        // Alone, it is a report with nothing to put back.
        RecoveryFixture alone;
        const std::string folder = alone.root / "photos";
        makePhotos(folder, 2);
        QVERIFY(leaveInterruptedBatch(folder, alone.history, imgToX(), 1));
        const std::string only = alone.journalOf(folder);
        std::ofstream(only, std::ios::binary | std::ios::trunc) << "";
        const Snapshot aloneBefore = snapshot(folder);
        auto reporting = alone.make();
        QVERIFY(waitForOffer(*reporting));
        QVERIFY(!reporting->recovery().recoveryOffer().putBackButton);
        QCOMPARE(reporting->recovery().recoveryOffer().dismissButton, std::optional<std::string>("Dismiss"));
        reporting->recovery().recoverInterruptedBatches();
        QVERIFY(!reporting->batches().busy());
        reporting->recovery().dismissRecovery();
        QVERIFY(!reporting->recovery().recoveryOffer().isShown);
        QCOMPARE(snapshot(folder), aloneBefore);
        QVERIFY(QFile::exists(QString::fromStdString(only)));
    }

    // One model of the process offers a history folder's batches; another
    // does only once the first closed without an answer.
    void oneModelAtATimeOffers() {
        RecoveryFixture fixture;
        const std::string photos = fixture.root / "photos";
        const Snapshot before = makePhotos(photos, 2);
        QVERIFY(leaveInterruptedBatch(photos, fixture.history, imgToX(), 1));

        auto first = fixture.make();
        auto second = fixture.make();
        QVERIFY(waitForOffer(*first));
        QTest::qWait(100);
        QVERIFY(!second->recovery().recoveryOffer().isShown);
        first.reset();
        second.reset();

        auto third = fixture.make();
        QVERIFY(waitForOffer(*third));
        QSignalSpy changed(&third->recovery(), &WindowRecovery::recoveryOfferChanged);
        third->recovery().dismissRecovery();
        QCOMPARE(changed.count(), 1);
        QVERIFY(!third->recovery().recoveryOffer().isShown);
        auto fourth = fixture.make();
        QTest::qWait(100);
        QVERIFY(!fourth->recovery().recoveryOffer().isShown);
        // Not now is not never: the batch is still there to put back.
        QVERIFY(snapshot(photos) != before);
        QCOMPARE(
            Recovery(std::make_shared<LocalFileSystem>(), HistoryStore(fixture.history)).unfinished().size(),
            1u);
    }
};

namespace {
const bool registered = registerTestClass<RecoveryTest>();
}

} // namespace morvane::app::testing

#include "RecoveryTest.moc"
