// Reading folders with their subfolders from the window: the scan choices,
// where they are kept, a long read's progress and its stop, the items'
// folders as the table writes them and as the search finds them, and
// numbering that starts again in each folder.
#include "ModelTesting.h"
#include "app/model/ScanChoices.h"
#include "engine/rules/CounterRule.h"

#include <set>

namespace morvane::app::testing {
namespace {

std::vector<std::string> ids(const ItemList& items, std::size_t prefix) {
    std::vector<std::string> result;
    for (const auto& item : items) {
        result.push_back(item.id.substr(prefix));
    }
    return result;
}

std::vector<std::string> newNames(const AppModel& model) {
    std::vector<std::string> result;
    for (const auto& entry : model.preview().plan().entries) {
        result.push_back(entry.item.isIncluded ? entry.newName : "-");
    }
    return result;
}

// Lets the listing of one folder through only when released: a read that
// takes as long as the test wants.
class GatedFileSystem : public InMemoryFileSystem {
public:
    using InMemoryFileSystem::InMemoryFileSystem;
    std::string gated;
    mutable QSemaphore reached;
    mutable QSemaphore release;

    std::vector<FSEntry> entries(const std::string& directory) const override {
        if (directory == gated) {
            reached.release();
            release.acquire();
        }
        return InMemoryFileSystem::entries(directory);
    }
};

} // namespace

class SubfoldersTest : public QObject {
    Q_OBJECT

private slots:
    // What the window offers, in order; turning off the last of files and
    // folders is refused, since the window would then list nothing.
    void theScanChoicesKeepSomethingToList() {
        const ScanOptions initial;
        std::vector<std::string> names;
        for (const ScanChoice& choice : ScanChoices::of(initial)) {
            names.push_back(choice.name);
        }
        QCOMPARE(names, (std::vector<std::string>{"includeSubfolders", "listFiles", "listFolders",
                                                  "listHidden", "followSymlinks"}));
        QVERIFY(!ScanChoices::of(initial)[1].isEnabled);
        QCOMPARE(ScanChoices::toggled(initial, "listFiles"), initial);
        const ScanOptions withFolders = ScanChoices::toggled(initial, "listFolders");
        QVERIFY(withFolders.includeFolders);
        const ScanOptions foldersOnly = ScanChoices::toggled(withFolders, "listFiles");
        QVERIFY(!foldersOnly.includeFiles);
        QVERIFY(!ScanChoices::of(foldersOnly)[2].isEnabled);
        QCOMPARE(ScanChoices::toggled(foldersOnly, "listFolders"), foldersOnly);
        QVERIFY(ScanChoices::toggled(initial, "includeSubfolders").recursive);
        QCOMPARE(ScanChoices::toggled(initial, "packagesAsFiles"), initial);
    }

    // A window reads with the choices last made in any window; its own
    // changes read its folder again and become the next window's.
    void scanChoicesAreTheWindowsAndTheNextWindows() {
        ModelFixture fixture;
        fixture.disk->addFile("/trip/a.jpg");
        fixture.disk->addFile("/trip/day 1/b.jpg");
        auto first = fixture.make();
        auto second = fixture.make();
        first->items().openFolder("/trip");
        QVERIFY(waitForLoad(*first));
        QCOMPARE(first->items().list().size(), std::size_t(1));

        first->items().setScanOptions(
            ScanChoices::toggled(first->items().scanOptions(), "includeSubfolders"));
        QVERIFY(first->items().loading());
        QVERIFY(waitForLoad(*first));
        QCOMPARE(ids(first->items().list(), 6), (std::vector<std::string>{"a.jpg", "day 1/b.jpg"}));
        QVERIFY(!second->items().scanOptions().recursive);
        auto third = fixture.make();
        QVERIFY(third->items().scanOptions().recursive);
        QVERIFY(fixture.settings->scanOptions().recursive);
    }

    // The folder picker's own choice of subfolders is the scan's, for the
    // folder it opens; a cancelled picker changes nothing.
    void theFolderPickerChoosesSubfoldersToo() {
        ModelFixture fixture;
        fixture.disk->addFile("/trip/a.jpg");
        fixture.disk->addFile("/trip/day 1/b.jpg");
        std::vector<bool> offered;
        std::optional<FolderChoice> answer = FolderChoice{"/trip", true};
        auto model = fixture.make(std::make_shared<FolderAccess>(fixture.disk, [&](bool includeSubfolders) {
            offered.push_back(includeSubfolders);
            return answer;
        }));
        model->items().chooseAndOpenFolder();
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().list().size(), std::size_t(2));
        QVERIFY(model->items().scanOptions().recursive);
        answer.reset();
        model->items().chooseAndOpenFolder();
        QCOMPARE(offered, (std::vector<bool>{false, true}));
        QVERIFY(model->items().scanOptions().recursive);
        QCOMPARE(model->items().folder(), std::optional<std::string>("/trip"));
    }

    // The Path column writes an item's folder from the opened one, and the
    // search finds items by it; loose files keep their whole folder.
    void subfoldersShowAndFilterByTheirRelativeFolder() {
        ModelFixture fixture;
        fixture.disk->addFile("/trip/a.jpg");
        fixture.disk->addFile("/trip/Rome/b.jpg");
        fixture.disk->addFile("/trip/Rome/day 2/c.jpg");
        fixture.disk->addFile("/trip/Paris/d.jpg");
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        auto model = fixture.make();
        model->items().openFolder("/trip");
        QVERIFY(waitForLoad(*model));
        std::vector<std::string> shown;
        for (const auto& item : model->items().list()) {
            shown.push_back(model->items().shownFolder(item));
        }
        QCOMPARE(shown, (std::vector<std::string>{"", "Paris", "Rome", "Rome/day 2"}));

        model->items().setSearchText("rome");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().summary().included, std::size_t(2));
        model->items().setOrder(ItemOrder{SortField::path, false});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().plan().entries.front().item.name, std::string("c.jpg"));

        model->items().open({"/trip/Rome/b.jpg", "/trip/a.jpg"});
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().shownFolder(model->items().list().front()), std::string("/trip/Rome"));
    }

    // A long read counts what it has read; Stop keeps that, in the scan's
    // order, and a notice says the rest is missing until the next read.
    void aStoppedReadKeepsWhatItReadAndSaysSo() {
        ModelFixture fixture;
        auto disk = std::make_shared<GatedFileSystem>(true);
        for (const char* path : {"/big/a/1.jpg", "/big/a/2.jpg", "/big/b/3.jpg", "/big/c/4.jpg"}) {
            disk->addFile(path);
        }
        disk->gated = "/big/b";
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        auto model = fixture.make(std::make_shared<FolderAccess>(disk));
        model->items().openFolder("/big");
        QVERIFY(disk->reached.tryAcquire(1, 5000));
        QVERIFY(model->items().canStopLoading());
        QVERIFY(QTest::qWaitFor([&] { return model->items().loadProgress().items == 2; }));
        QCOMPARE(model->items().loadProgressText(), std::string("2 items read so far"));
        model->items().stopLoading();
        QVERIFY(!model->items().canStopLoading());
        disk->release.release();
        QVERIFY(waitForLoad(*model));
        QCOMPARE(ids(model->items().list(), 5), (std::vector<std::string>{"a/1.jpg", "a/2.jpg"}));
        QVERIFY(!model->items().isComplete());
        QCOMPARE(model->items().loadNotice(),
                 std::optional<std::string>(
                     "Reading was stopped after 2 items: the rest of the folder is not listed."));
        // What was read is a preview like any other.
        QTRY_COMPARE(model->preview().summary().items, std::size_t(2));

        disk->gated.clear();
        model->items().rescan();
        QVERIFY(!model->items().loadNotice());
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().list().size(), std::size_t(4));
        QVERIFY(model->items().isComplete());
    }

    // A read overtaken by another is told to stop, and what it read is never shown.
    void anOvertakenReadIsStopped() {
        ModelFixture fixture;
        auto disk = std::make_shared<GatedFileSystem>(true);
        disk->addFile("/slow/a/1.jpg");
        disk->addFile("/slow/b/2.jpg");
        disk->addFile("/fast/x.jpg");
        disk->gated = "/slow/a";
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        auto model = fixture.make(std::make_shared<FolderAccess>(disk));
        model->items().openFolder("/slow");
        QVERIFY(disk->reached.tryAcquire(1, 5000));
        model->items().openFolder("/fast");
        QVERIFY(waitForLoad(*model));
        disk->gated.clear();
        disk->release.release();
        QTest::qWait(50);
        QCOMPARE(ids(model->items().list(), 6), (std::vector<std::string>{"x.jpg"}));
        QVERIFY(model->items().isComplete());
        QVERIFY(!model->items().loadNotice());
    }

    // Each folder's items are numbered from the start in the table's order,
    // and the rule panel's trace of the selected item agrees with the table.
    void countersStartAgainInEachFolder() {
        ModelFixture fixture;
        for (const char* path : {"/trip/a.jpg", "/trip/b.jpg", "/trip/Rome/c.jpg", "/trip/Rome/d.jpg"}) {
            fixture.disk->addFile(path);
        }
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        auto model = fixture.make();
        model->rules().setRules(
            {RuleEntry::make(CounterRule(CounterRule::Position::prefix, 1, 1, 2, "_", true))});
        model->items().openFolder("/trip");
        QVERIFY(waitForLoad(*model));
        QTRY_COMPARE(newNames(*model),
                     (std::vector<std::string>{"01_a.jpg", "02_b.jpg", "01_c.jpg", "02_d.jpg"}));

        model->items().setChecked("/trip/Rome/c.jpg", false);
        model->items().setOrder(ItemOrder{SortField::name, false});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(newNames(*model), (std::vector<std::string>{"01_d.jpg", "-", "01_b.jpg", "02_a.jpg"}));
        model->items().setSelectedID("/trip/a.jpg");
        QCOMPARE(model->rules().trace().back().output, std::string("02_a.jpg"));
    }
};

namespace {
const bool registered = registerTestClass<SubfoldersTest>();
}

} // namespace morvane::app::testing

#include "SubfoldersTest.moc"
