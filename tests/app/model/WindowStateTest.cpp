// What the window's controls show that the model decides: the Rename
// button's title and which command opens the confirmation, where the
// selection is among the rows shown, the criteria command, the launch
// options, and the settings the window keeps for itself.
#include "ModelTesting.h"
#include "app/model/HomePath.h"
#include "app/model/LaunchOptions.h"

#include <QDir>

namespace morvane::app::testing {

class WindowStateTest : public QObject {
    Q_OBJECT

private slots:
    void theRenameButtonSaysWhatItWillDo() {
        ModelFixture fixture;
        auto model = fixture.make();
        WindowBatches& batches = model->batches();
        QCOMPARE(batches.renameButtonTitle(), std::string("Rename"));
        // With nothing to rename, Rename opens no sheet; Preview lists what there is.
        batches.openConfirmation(ConfirmationCommand::rename);
        QVERIFY(!batches.showConfirm());
        batches.openConfirmation(ConfirmationCommand::preview);
        QVERIFY(batches.showConfirm());
        batches.closeConfirmation();

        model->items().setItems(namedItems({"IMG_1.jpg", "IMG_2.jpg", "keep.txt"}));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(batches.renameButtonTitle(), std::string("Rename 2 Items"));
        batches.openConfirmation(ConfirmationCommand::rename);
        QVERIFY(batches.showConfirm());
        batches.closeConfirmation();

        // After a rename that left nothing to do.
        model->batches().setLastTransaction(RenameTransaction{});
        model->items().setItems(namedItems({"santa-cruz-1.jpg"}));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->batches().renameButtonTitle(), std::string("Renamed"));
        QVERIFY(!model->batches().canOpenConfirmation(ConfirmationCommand::rename));

        // Conflicts alone still open the confirmation, which offers to skip them.
        model->items().setItems(namedItems({"a.txt", "b.txt", "c.txt"}));
        model->rules().setRules({RuleEntry::make(ReplaceRule("a", "c", true))});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().summary().toRename, std::size_t(0));
        QVERIFY(model->preview().summary().conflicts > 0);
        QCOMPARE(model->batches().renameButtonTitle(), std::string("Rename"));
        QVERIFY(model->batches().canOpenConfirmation(ConfirmationCommand::rename));
    }

    void theSelectionIsFoundAmongTheRowsShown() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->items().setItems(namedItems({"a.txt", "IMG_1.jpg", "b.txt", "IMG_2.jpg"}));
        model->items().setSelectedID("/d/IMG_2.jpg");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().selectedRowIndex(), std::optional<std::size_t>(3));
        model->preview().setShowOnlyChanged(true);
        QCOMPARE(model->preview().selectedRowIndex(), std::optional<std::size_t>(1));
        model->items().setSelectedID("/d/b.txt");
        QVERIFY(!model->preview().selectedRowIndex());
        model->preview().setShowOnlyChanged(false);
        QCOMPARE(model->preview().selectedRowIndex(), std::optional<std::size_t>(1));
        model->items().setSelectedID(std::nullopt);
        QVERIFY(!model->preview().selectedRowIndex());
    }

    // The options as Qt's own parser reads them: a value after "=" or a
    // space, flags anywhere, and paths among them and after "--"; options it
    // does not know (the toolkit's own, a later version's) are passed over.
    void launchOptionsAreReadAsQtReadsThem() {
        const LaunchOptions options =
            LaunchOptions::parse({"--reverse", "a.jpg", "--language", "de", "--appearance=dark", "-x", "",
                                  "--sheet", "--", "--demo"});
        QCOMPARE(options.paths, (std::vector<std::string>{"a.jpg", "--demo"}));
        QCOMPARE(options.language, std::optional<std::string>("de"));
        QCOMPARE(options.appearance, std::optional(AppearanceChoice::dark));
        QVERIFY(options.sheet && !options.demo);
        QVERIFY(!options.mentionsOpen);

        // "--open" with nothing after it opens nothing, yet keeps the welcome away.
        const LaunchOptions open = LaunchOptions::parse({"--open"});
        QVERIFY(open.mentionsOpen && !open.open && open.opensSomething());
        QVERIFY(!LaunchOptions::parse({"--appearance=sepia"}).appearance);
    }

    void theCriteriaCommandSaysWhatItWillDo() {
        ModelFixture fixture;
        auto model = fixture.make();
        QCOMPARE(model->criteriaCommandTitle(), std::string("Hide Renaming Criteria"));
        model->toggleCriteria();
        QCOMPARE(model->criteria(), CriteriaMode::hidden);
        QCOMPARE(model->criteriaCommandTitle(), std::string("Show Renaming Criteria"));
        model->toggleCriteria();
        QCOMPARE(model->criteria(), CriteriaMode::docked);
    }

    void updateChoicesAndLayoutsAreKept() {
        SettingsFixture fixture;
        {
            const auto settings = fixture.make();
            QVERIFY(settings->automaticUpdateChecks());
            QVERIFY(!settings->automaticUpdateDownloads());
            QVERIFY(settings->layout("window").isEmpty());
            settings->setAutomaticUpdateChecks(false);
            settings->setAutomaticUpdateDownloads(true);
            settings->setLayout("window", QByteArray("\x01\x02geometry", 10));
        }
        const auto settings = fixture.make();
        QVERIFY(!settings->automaticUpdateChecks());
        QVERIFY(settings->automaticUpdateDownloads());
        QCOMPARE(settings->layout("window"), QByteArray("\x01\x02geometry", 10));
        QVERIFY(settings->layout("splitter").isEmpty());
    }

    void theHistoryNoteNamesTheRealFolder() {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", (QDir::homePath() + "/data").toUtf8());
        QCOMPARE(AppSettings::historyNote(),
                 std::string("Renames are recorded in ~/data/Morvane/History so they can be undone."));
        qputenv("XDG_DATA_HOME", "/srv/shared");
        QCOMPARE(AppSettings::historyNote(),
                 std::string("Renames are recorded in /srv/shared/Morvane/History so they can be undone."));
        saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);

        QCOMPARE(abbreviatingHome("/home/ana/Photos", "/home/ana"), std::string("~/Photos"));
        QCOMPARE(abbreviatingHome("/home/anabel/Photos", "/home/ana"), std::string("/home/anabel/Photos"));
        QCOMPARE(abbreviatingHome("/etc", "/"), std::string("/etc"));
    }
};

namespace {
const bool registered = registerTestClass<WindowStateTest>();
}

} // namespace morvane::app::testing

#include "WindowStateTest.moc"
