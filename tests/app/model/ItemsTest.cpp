#include "ModelTesting.h"
#include "app/model/LaunchOptions.h"
#include "engine/presets/PresetStore.h"
#include "engine/rules/CaseRule.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <chrono>
#include <filesystem>
#include <set>

namespace morvane::app::testing {
namespace {

Date at(int seconds) {
    return Date(std::chrono::seconds(seconds));
}

std::vector<std::string> names(const ItemList& items) {
    std::vector<std::string> result;
    for (const auto& item : items) {
        result.push_back(item.name);
    }
    return result;
}

std::vector<std::string> plannedNames(const AppModel& model) {
    std::vector<std::string> result;
    for (const auto& entry : model.preview().plan().entries) {
        result.push_back(entry.item.name);
    }
    return result;
}

// Holds the listings of some folders until released, as a slow or
// unreachable disk would.
class HeldFileSystem : public InMemoryFileSystem {
public:
    using InMemoryFileSystem::InMemoryFileSystem;
    std::set<std::string> heldFolders;
    mutable QSemaphore release;

    std::vector<FSEntry> entries(const std::string& directory) const override {
        if (heldFolders.contains(directory)) {
            release.acquire();
        }
        return InMemoryFileSystem::entries(directory);
    }
};

} // namespace

class ItemsTest : public QObject {
    Q_OBJECT

private slots:
    void openingAFolderStartsAfresh() {
        ModelFixture fixture;
        fixture.disk->addFile("/photos/b.txt");
        fixture.disk->addFile("/photos/a.txt");
        fixture.disk->addFile("/photos/.hidden");
        fixture.disk->addDirectory("/photos/sub");
        auto model = fixture.make();
        model->items().openFolder("/photos");
        QVERIFY(model->items().loading());
        QVERIFY(waitForLoad(*model));
        QCOMPARE(names(model->items().list()), (std::vector<std::string>{"a.txt", "b.txt"}));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/photos/a.txt"));
        QCOMPARE(model->items().title(), std::string("photos"));

        model->items().setChecked("/photos/a.txt", false);
        model->items().setSelectedID("/photos/b.txt");
        model->items().openFolder("/photos");
        QVERIFY(model->items().unchecked().empty());
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/photos/a.txt"));

        ScanOptions options = model->items().scanOptions();
        options.includeFolders = true;
        model->items().setScanOptions(options);
        QVERIFY(waitForLoad(*model));
        QCOMPARE(names(model->items().list()), (std::vector<std::string>{"a.txt", "b.txt", "sub"}));
    }

    void aFolderThatCannotBeReadLeavesNoItems() {
        ModelFixture fixture;
        fixture.disk->addFile("/photos/a.txt");
        auto model = fixture.make();
        model->items().openFolder("/photos");
        QVERIFY(waitForLoad(*model));
        model->items().openFolder("/missing");
        QVERIFY(waitForLoad(*model));
        QVERIFY(model->items().list().empty());
        QVERIFY(model->items().loadError());
        QVERIFY(!model->items().loadError()->empty());
        QCOMPARE(model->items().emptyState().loadError, model->items().loadError());
        model->items().openFolder("/photos");
        QVERIFY(waitForLoad(*model));
        QVERIFY(!model->items().loadError());
    }

    void dropsOfOneFolderOneFileOrBoth() {
        ModelFixture fixture;
        fixture.disk->addFile("/in/sub/one.txt");
        fixture.disk->addFile("/in/two.txt", at(10), at(20), 5);
        auto model = fixture.make();

        model->items().open({"/in/sub/"});
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().folder(), std::optional<std::string>("/in/sub"));
        QVERIFY(!model->items().looseFiles());

        model->items().open({"/in/two.txt"});
        QVERIFY(waitForLoad(*model));
        QVERIFY(!model->items().folder());
        QVERIFY(model->items().looseFiles());
        QCOMPARE(model->items().list().size(), std::size_t(1));
        QCOMPARE(model->items().list()[0].modified, at(20));
        QCOMPARE(model->items().list()[0].size, std::int64_t(5));

        model->items().open({"/in/sub", "/in/two.txt"});
        QVERIFY(waitForLoad(*model));
        QVERIFY(model->items().looseFiles());
        QCOMPARE(names(model->items().list()), (std::vector<std::string>{"sub", "two.txt"}));
        QVERIFY(model->items().list()[0].isDirectory);
        QCOMPARE(model->items().title(), std::string("Selected Items"));
        QCOMPARE(model->items().subtitle(), std::string("2 items"));

        // Loose files have no folder to read again.
        ScanOptions options;
        options.includeFolders = true;
        model->items().setScanOptions(options);
        QVERIFY(!model->items().loading());
        QCOMPARE(model->items().list().size(), std::size_t(2));
    }

    // "Open With" in a file manager: the selection as plain arguments.
    void whatAFileManagerHandsOverOpens() {
        ModelFixture fixture;
        for (const char* name : {"/in/a.txt", "/in/b.txt", "/in/c.txt", "/in/-dash.txt"}) {
            fixture.disk->addFile(name);
        }
        LaunchOptions::offer({"/in/a.txt", "--language=en", "/in/b.txt"});
        auto files = fixture.make();
        QVERIFY(waitForLoad(*files));
        QVERIFY(files->items().looseFiles());
        QCOMPARE(names(files->items().list()), (std::vector<std::string>{"a.txt", "b.txt"}));
        QVERIFY(!files->showWelcome());

        LaunchOptions::offer({"/in/"});
        auto folder = fixture.make();
        QVERIFY(waitForLoad(*folder));
        QCOMPARE(folder->items().folder(), std::optional<std::string>("/in"));
        QCOMPARE(folder->items().list().size(), std::size_t(4));

        LaunchOptions::offer({"--", "/in/-dash.txt", "--settings"});
        auto dashed = fixture.make();
        QVERIFY(waitForLoad(*dashed));
        // After "--" every argument is a path, however it looks.
        QCOMPARE(names(dashed->items().list()), (std::vector<std::string>{"-dash.txt", "--settings"}));
        QVERIFY(!dashed->openSettingsAtLaunch());
    }

    // A preset file opened from a file manager is imported; a damaged one is not.
    void presetFilesHandedOverAreImported() {
        ModelFixture fixture;
        QTemporaryDir downloads;
        const std::string good = downloads.filePath("Tidy.morvanepreset").toStdString();
        const std::string damaged = downloads.filePath("Broken.MORVANEPRESET").toStdString();
        PresetStore::write(Preset("Tidy", {PresetRule::fromStep(makeStep(CaseRule()))}), good);
        QFile file(QString::fromStdString(damaged));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"rules\": ");
        file.close();

        LaunchOptions::offer({good, damaged});
        auto model = fixture.make();
        QCOMPARE(model->presets().userPresets().size(), std::size_t(1));
        QCOMPARE(model->presets().userPresets()[0].name, std::string("Tidy"));
        QCOMPARE(model->presets().presetMessage(), std::optional<std::string>("1 preset imported."));
        QVERIFY(model->items().list().empty());
        QVERIFY(QTest::qWaitFor([&] { return model->presets().showPresetManager(); }, 1000));

        LaunchOptions::offer({damaged});
        QCOMPARE(fixture.make()->presets().presetMessage(),
                 std::optional<std::string>("No preset could be imported."));
    }

    void aNewerOpenSupersedesASlowerScan() {
        ModelFixture fixture;
        auto disk = std::make_shared<HeldFileSystem>(true);
        disk->addFile("/slow/old.txt");
        disk->addFile("/fast/new.txt");
        disk->heldFolders = {"/slow"};
        auto model = fixture.make(std::make_shared<FolderAccess>(disk));
        model->items().openFolder("/slow");
        model->items().openFolder("/fast");
        QVERIFY(waitForLoad(*model));
        disk->release.release();
        QTest::qWait(100);
        QCOMPARE(names(model->items().list()), (std::vector<std::string>{"new.txt"}));
        QCOMPARE(model->items().folder(), std::optional<std::string>("/fast"));
    }

    // Listings stuck on a disk that does not answer keep no other folder
    // from opening, in this window or another; the window that turns
    // elsewhere, or closes, does not wait for them.
    void stuckListingsKeepNoOtherFolderWaiting() {
        ModelFixture fixture;
        auto disk = std::make_shared<HeldFileSystem>(true);
        disk->addFile("/stale1/a.txt");
        disk->addFile("/stale2/b.txt");
        disk->addFile("/fresh/c.txt");
        disk->heldFolders = {"/stale1", "/stale2"};
        // Whatever happens below, no listing stays stuck past the test.
        const auto unstick = qScopeGuard([&] { disk->release.release(2); });
        const auto access = std::make_shared<FolderAccess>(disk);
        auto first = fixture.make(access);
        auto second = fixture.make(access);
        first->items().openFolder("/stale1");
        second->items().openFolder("/stale2");
        auto third = fixture.make(access);
        third->items().openFolder("/fresh");
        QVERIFY(waitForLoad(*third));
        QCOMPARE(names(third->items().list()), (std::vector<std::string>{"c.txt"}));

        first->items().openFolder("/fresh");
        QVERIFY(waitForLoad(*first));
        QCOMPARE(names(first->items().list()), (std::vector<std::string>{"c.txt"}));
        QVERIFY(second->items().loading());
        second.reset();

        // Listings that come back late change nothing.
        disk->release.release(2);
        QTest::qWait(100);
        QCOMPARE(names(first->items().list()), (std::vector<std::string>{"c.txt"}));
        QCOMPARE(first->items().folder(), std::optional<std::string>("/fresh"));
    }

    void theLocalDiskGivesDatesAndFollowsLinks() {
        QTemporaryDir folder;
        const std::string root = folder.path().toStdString();
        std::filesystem::create_directory(root + "/sub");
        std::filesystem::create_directory_symlink(root + "/sub", root + "/link");
        QFile file(folder.filePath("a.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12345");
        file.close();
        const auto access = FolderAccess::local();
        QVERIFY(access->isDirectory(root + "/link"));
        QVERIFY(!access->isDirectory(root + "/a.txt"));
        QVERIFY(!access->isDirectory(root + "/missing"));
        const ItemList items = access->items({root + "/a.txt", root + "/missing"});
        QCOMPARE(items[0].size, std::int64_t(5));
        const auto now = std::chrono::system_clock::now();
        QVERIFY(now - items[0].modified < std::chrono::minutes(5));
        // The birth time where the file system records it, else the reference instant.
        QVERIFY(items[0].created == Date{} || now - items[0].created < std::chrono::minutes(5));
        QCOMPARE(items[1].modified, Date{});
        QCOMPARE(items[1].name, std::string("missing"));

        ModelFixture fixture;
        auto environment = fixture.environment(access);
        environment.homeFolder = root;
        AppModel model(environment);
        model.items().openFolder(root + "/sub");
        QCOMPARE(model.items().subtitle(), std::string("~/sub"));
        environment.homeFolder = root + "/su";
        AppModel other(environment);
        other.items().openFolder(root + "/sub");
        QCOMPARE(other.items().subtitle(), root + "/sub");
        QVERIFY(waitForLoad(model) && waitForLoad(other));
    }

    void sortingIsNaturalWithTiesByNameAscending() {
        ModelFixture fixture;
        auto model = fixture.make();
        ItemList items;
        items.emplace_back("file10.txt", "/d", at(0), at(3), 10, false, true);
        items.emplace_back("b.txt", "/d", at(0), at(1), 10, false, true);
        items.emplace_back("file2.txt", "/d", at(0), at(2), 5, false, true);
        items.emplace_back("a.txt", "/d", at(0), at(1), 10, false, true);
        model->items().setItems(items);
        QVERIFY(waitForPlan(*model));
        QCOMPARE(plannedNames(*model),
                 (std::vector<std::string>{"a.txt", "b.txt", "file2.txt", "file10.txt"}));

        model->items().setOrder(ItemOrder{SortField::size, false});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(plannedNames(*model),
                 (std::vector<std::string>{"a.txt", "b.txt", "file10.txt", "file2.txt"}));

        model->items().setOrder(ItemOrder{SortField::modified, false});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(plannedNames(*model),
                 (std::vector<std::string>{"file10.txt", "file2.txt", "a.txt", "b.txt"}));
        // The loaded items keep their order.
        QCOMPARE(model->items().list()[0].name, std::string("file10.txt"));
    }
};

namespace {
const bool registered = registerTestClass<ItemsTest>();
}

} // namespace morvane::app::testing

#include "ItemsTest.moc"
