#include "ModelTesting.h"
#include "cli/CliRun.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/presets/FactoryPresets.h"
#include "engine/rules/NameRule.h"
#include "engine/transactions/HistoryStore.h"

#include <QElapsedTimer>
#include <filesystem>
#include <sstream>

namespace morvane::app::testing {
namespace {

using Strings = std::vector<std::string>;
using morvane::testing::TempFolder;
using Phase = BatchProgress::Phase;

// Rules that turn "IMG_" into "x-".
void renameImgToX(AppModel& model) {
    model.rules().setRules({RuleEntry::make(ReplaceRule("IMG_", "x-", false))});
}

// A model with those rules over `folder` of the fixture's disk, which holds `names`.
std::unique_ptr<AppModel> openedOver(ModelFixture& fixture, const std::string& folder,
                                     std::initializer_list<const char*> names) {
    for (const char* name : names) {
        fixture.disk->addFile(folder + "/" + name);
    }
    auto model = fixture.make();
    renameImgToX(*model);
    model->items().openFolder(folder);
    return model;
}

Strings itemIds(const AppModel& model) {
    Strings ids;
    for (const auto& item : model.items().list()) {
        ids.push_back(item.id);
    }
    return ids;
}

Strings namesIn(const std::string& folder) {
    Strings names;
    for (const auto& [name, contents] : morvane::testing::snapshot(folder)) {
        names.push_back(name);
    }
    return names;
}

// Every progress the model showed, in order, absent ones included.
struct ProgressLog {
    std::vector<std::optional<RenameProgress>> shown;
    QMetaObject::Connection connection;

    explicit ProgressLog(AppModel& model) {
        connection = QObject::connect(&model.batches(), &WindowBatches::renameProgressChanged,
                                      [this, &model] { shown.push_back(model.batches().renameProgress()); });
    }
    ~ProgressLog() { QObject::disconnect(connection); }

    // Within each phase the count only grows; the phase before the progress
    // went away ended at its total.
    bool isOrderlyAndEndsIn(Phase phase) const {
        for (std::size_t i = 1; i + 1 < shown.size(); ++i) {
            if (shown[i]->phase == shown[i - 1]->phase && shown[i]->done < shown[i - 1]->done) {
                return false;
            }
        }
        if (shown.size() < 2 || shown.back()) {
            return false;
        }
        const auto& last = shown[shown.size() - 2];
        return last->phase == phase && last->done == last->total;
    }
};

} // namespace

class RenameTest : public QObject {
    Q_OBJECT

private slots:
    void aCompletedBatchIsRecordedAndTheFolderReadAgain() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/photos", {"IMG_1.jpg", "IMG_2.jpg", "notes.txt"});
        QVERIFY(waitForRenamable(*model, 2));
        model->items().setChecked("/photos/notes.txt", false);
        QCOMPARE(model->batches().renameButtonTitle(), std::string("Rename 2 Items"));
        model->batches().openConfirmation(ConfirmationCommand::preview);
        ProgressLog progress(*model);
        model->batches().performRename();
        QVERIFY(model->batches().busy());
        QVERIFY(waitForBatch(*model));

        QCOMPARE(fixture.disk->paths(),
                 (Strings{"/photos", "/photos/notes.txt", "/photos/x-1.jpg", "/photos/x-2.jpg"}));
        QVERIFY(progress.shown.empty()); // a short batch never flashes its progress
        QVERIFY(!model->batches().showConfirm());
        QVERIFY(model->items().unchecked().empty());
        QVERIFY(!model->batches().actionMessage());
        QCOMPARE(model->batches().lastTransaction()->appliedCount(), 2u);
        const auto recorded = HistoryStore(fixture.history).load();
        QCOMPARE(recorded.size(), 1u);
        QCOMPARE(recorded[0].id, model->batches().lastTransaction()->id);
        QCOMPARE(recorded[0].directory, std::string("/photos"));
        QVERIFY(!recorded[0].presetName);

        const ResultBanner banner = model->batches().resultBanner();
        QCOMPARE(banner.text, std::string("2 items renamed \u00B7 Recorded in Rename History."));
        QVERIFY(!banner.isWarning && banner.undoButton && !banner.dismissButton);
        QCOMPARE(banner.revealFolder, std::optional<std::string>("/photos"));
        QVERIFY(waitForLoad(*model));
        QVERIFY(QTest::qWaitFor([&] {
            return model->preview().plan().entries.size() == 3 && model->preview().summary().toRename == 0;
        }));
        QCOMPARE(model->batches().renameButtonTitle(), std::string("Renamed"));
        // Any change of the rules withdraws the undo; the batch stays in the history.
        model->rules().addRule(RuleKind::counter);
        QVERIFY(!model->batches().resultBanner().isShown);
    }

    void failedBatchesSayWhatBecameOfThem() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"});
        QVERIFY(waitForRenamable(*model, 3));
        model->items().setChecked("/p/IMG_3.jpg", false);
        QVERIFY(waitForRenamable(*model, 2));
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        const Uuid earlier = model->batches().lastTransaction()->id;

        // The item left out before is in the plan again, and its move fails.
        QVERIFY(waitForRenamable(*model, 1));
        fixture.disk->failMoves("/p/IMG_3.jpg");
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        const std::string rolledBack =
            "Nothing was renamed: Permission denied for \u201CIMG_3.jpg\u201D. Everything was put back.";
        QCOMPARE(model->batches().actionMessage(), std::optional(rolledBack));
        QCOMPARE(model->batches().lastTransaction()->id, earlier); // the earlier batch stays undoable
        QCOMPARE(model->batches().resultBanner().text, rolledBack);
        QVERIFY(model->batches().resultBanner().isWarning && model->batches().resultBanner().undoButton);
        QCOMPARE(HistoryStore(fixture.history).load().size(), 1u);

        // A move fails, and so does putting back the one before it: the batch
        // can be undone as far as it went, and the warning is not hidden by it.
        fixture.disk->addFile("/q/IMG_1.jpg");
        fixture.disk->addFile("/q/IMG_2.jpg");
        fixture.disk->failMoves("/q/IMG_2.jpg");
        fixture.disk->failMoves("/q/x-1.jpg");
        model->items().openFolder("/q");
        QVERIFY(waitForRenamable(*model, 2));
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        const std::string leftBehind =
            "Renaming stopped (Permission denied for \u201CIMG_2.jpg\u201D) and some "
            "files could not be put back. Check Rename History.";
        QCOMPARE(model->batches().actionMessage(), std::optional(leftBehind));
        QCOMPARE(model->batches().lastTransaction()->outcome, RenameTransaction::Outcome::rollbackFailed);
        QCOMPARE(model->batches().lastTransaction()->appliedCount(), 1u);
        QCOMPARE(model->batches().resultBanner().text, leftBehind);
        QVERIFY(model->batches().resultBanner().undoButton && model->batches().resultBanner().dismissButton);
        QCOMPARE(HistoryStore(fixture.history).load().size(), 2u);
    }

    // The window's own choice where a history folder cannot be written: a
    // batch that could never be undone is not started.
    void aHistoryThatCannotBeWrittenRenamesNothing() {
        ModelFixture fixture;
        fixture.disk->addFile("/p/IMG_1.jpg");
        const std::string locked = fixture.historyFolder.path().toStdString() + "/locked";
        morvane::testing::makeFolder(locked);
        morvane::testing::ReadOnlyFolder readOnly(locked);
        if (readOnly.errorNumber() == 0) {
            QSKIP("no way to make a folder read-only here");
        }
        auto environment = fixture.environment();
        environment.historyDirectory = locked + "/History";
        AppModel model(environment);
        renameImgToX(model);
        model.items().openFolder("/p");
        QVERIFY(waitForRenamable(model, 1));
        model.batches().performRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/IMG_1.jpg"}));
        QVERIFY(!model.batches().lastTransaction());
        QVERIFY(model.batches().actionMessage()->starts_with("The history folder \u201C" + locked +
                                                             "/History\u201D"));
        QVERIFY(model.batches().actionMessage()->ends_with(
            ". Nothing was renamed: renames are recorded there so that they can be undone."));
    }

    void looseFilesTakeTheNamesTheirBatchLeft() {
        ModelFixture fixture;
        for (const char* path : {"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg", "/b/x-3.jpg"}) {
            fixture.disk->addFile(path);
        }
        auto model = fixture.make();
        renameImgToX(*model);
        model->items().open({"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg"});
        // x-3.jpg is no item, but renaming would meet it: the preview says so.
        QVERIFY(QTest::qWaitFor([&] { return model->preview().summary().conflicts == 1; }));
        QCOMPARE(entryNamed(*model, "IMG_3.jpg").status.kind, RenameStatus::Kind::nameTaken);
        ConfirmationSheet sheet = model->batches().confirmationSheet("\u2318Z");
        QCOMPARE(sheet.title, std::string("Resolve conflicts before renaming"));
        QVERIFY(sheet.canSkip && !sheet.canRename);

        model->skipConflicting();
        QVERIFY(waitForRenamable(*model, 2));
        sheet = model->batches().confirmationSheet("\u2318Z");
        QCOMPARE(sheet.title, std::string("Rename 2 items?"));
        QCOMPARE(sheet.countsLine,
                 std::string("2 will be renamed \u00B7 0 stay the same \u00B7 1 filtered or excluded"));
        QCOMPARE(sheet.footer,
                 std::string("Nothing changes on disk until you click Rename. Undo with \u2318Z."));
        QCOMPARE(sheet.lineCount, 2u);
        QCOMPARE(model->preview().confirmationLine(1), (ConfirmationLine{"IMG_2.jpg", "x-2.jpg"}));
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/a/x-1.jpg", "/a/x-2.jpg", "/b/IMG_3.jpg"}));
        // The item selected at first stays selected, under its new name.
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/a/x-1.jpg"));
        QVERIFY(model->items().unchecked().empty());
        QVERIFY(!model->batches().resultBanner().revealButton); // no one folder to show

        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg"}));
        QCOMPARE(fixture.disk->paths(),
                 (Strings{"/a", "/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b", "/b/IMG_3.jpg", "/b/x-3.jpg"}));
        QVERIFY(!model->batches().lastTransaction() && !model->batches().actionMessage());
    }

    // Items renamed onto each other's names (a swap) or along a chain each
    // take the name their own move left them with, and the selected item
    // stays selected under its new name.
    void looseFilesFollowSwapsAndChains() {
        ModelFixture fixture;
        for (const char* path : {"/d/ab.txt", "/d/ba.txt", "/e/a.txt", "/e/b.txt"}) {
            fixture.disk->addFile(path);
        }
        auto model = fixture.make();
        model->rules().setRules({RuleEntry::make(NameRule(NameRule::Mode::reverse, ""))});
        model->items().open({"/d/ab.txt", "/d/ba.txt"});
        QVERIFY(waitForRenamable(*model, 2));
        model->items().setSelectedID("/d/ba.txt");
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/d/ba.txt", "/d/ab.txt"}));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/d/ab.txt"));
        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/d/ab.txt", "/d/ba.txt"}));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/d/ba.txt"));

        // a → b and b → c: the pairs apply in order, so "b" becomes "c" before "a" becomes "b".
        model->rules().setRules(
            {RuleEntry::make(RegexRule({{"^b$", "c", true}, {"^a$", "b", true}}, false))});
        model->items().open({"/e/a.txt", "/e/b.txt"});
        QVERIFY(waitForRenamable(*model, 2));
        model->items().setSelectedID("/e/b.txt");
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/e/b.txt", "/e/c.txt"}));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/e/c.txt"));
        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/e/a.txt", "/e/b.txt"}));
        // One move per item: a counter now plans two renames from two files.
        model->rules().setRules({RuleEntry::make(CounterRule(CounterRule::Position::suffix, 1, 1, 1, "-"))});
        QVERIFY(waitForRenamable(*model, 2));
        QCOMPARE(model->preview().confirmationLine(0), (ConfirmationLine{"a.txt", "a-1.txt"}));
        QCOMPARE(model->preview().confirmationLine(1), (ConfirmationLine{"b.txt", "b-2.txt"}));
    }

    // A renamed item of a folder stays selected once the folder is read again.
    void theSelectionFollowsItsItemThroughAFolderRename() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg", "IMG_2.jpg"});
        QVERIFY(waitForRenamable(*model, 2));
        model->items().setSelectedID("/p/IMG_2.jpg");
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->items().selectedID(), std::optional<std::string>("/p/x-2.jpg"));
    }

    // An undo the history refuses (its folder cannot be written) leaves the
    // batch to be undone once the folder is mended.
    void anUndoTheHistoryRefusesLeavesTheBatchUndoable() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg"});
        QVERIFY(waitForRenamable(*model, 1));
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        const Uuid batch = model->batches().lastTransaction()->id;

        const std::string away = fixture.history + ".away";
        std::filesystem::rename(fixture.history, away);
        morvane::testing::writeFile(fixture.history, "not a folder");
        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/x-1.jpg"}));
        QVERIFY(model->batches().actionMessage());
        QVERIFY(model->batches().lastTransaction() && model->batches().lastTransaction()->id == batch);
        QVERIFY(model->batches().canUndo());

        std::filesystem::remove(fixture.history);
        std::filesystem::rename(away, fixture.history);
        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/IMG_1.jpg"}));
        QVERIFY(!model->batches().canUndo());
    }

    void undoTakesBackTheWindowsBatchOrTheNewestRecorded() {
        TempFolder root;
        const std::string photos = root / "photos";
        const std::string history = root / "history";
        morvane::testing::makeFolder(photos);
        for (int i = 1; i <= 5; ++i) {
            morvane::testing::writeFile(photos + "/IMG_" + std::to_string(i) + ".jpg", "photo");
        }
        // A batch recorded by the command line, into the same history folder.
        std::ostringstream out, err;
        cli::CliEnvironment cliEnvironment;
        cliEnvironment.workingDirectory = root.path();
        QCOMPARE(cli::runCli({"rename", "--history-dir", history, "--replace", "IMG_=x-", photos}, out, err,
                             cliEnvironment),
                 0);
        std::filesystem::rename(photos + "/x-1.jpg", root / "x-1.jpg");
        std::filesystem::rename(photos + "/x-2.jpg", root / "x-2.jpg");

        ModelFixture fixture;
        auto environment = fixture.environment(FolderAccess::local());
        environment.historyDirectory = history;
        AppModel model(environment);
        model.items().openFolder(photos);
        QVERIFY(waitForLoad(model));
        // A new window offers the recorded batch for undo: the way back after a restart.
        QTRY_VERIFY(model.batches().canUndo());
        model.batches().undoLastRename();
        QVERIFY(waitForBatch(model));
        QVERIFY(!model.batches().canUndo());
        QCOMPARE(namesIn(photos), (Strings{"IMG_3.jpg", "IMG_4.jpg", "IMG_5.jpg"}));
        QCOMPARE(model.batches().actionMessage(),
                 std::optional<std::string>("2 files have since changed \u2014 partial undo only."));

        // The window's own batch is taken back from its last transaction.
        renameImgToX(model);
        QVERIFY(waitForRenamable(model, 3));
        model.batches().performRename();
        QVERIFY(waitForBatch(model));
        QVERIFY(model.batches().canUndo());
        const Uuid own = model.batches().lastTransaction()->id;
        model.batches().undoLastRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(namesIn(photos), (Strings{"IMG_3.jpg", "IMG_4.jpg", "IMG_5.jpg"}));
        QVERIFY(!model.batches().lastTransaction() && !model.batches().actionMessage());
        const auto records = HistoryStore(history).load();
        QCOMPARE(records.front().id, own);
        QVERIFY(records.front().isFullyUndone());

        // What is left of the command line's batch has gone for good.
        model.batches().undoLastRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(model.batches().actionMessage(),
                 std::optional<std::string>("2 files have since changed \u2014 nothing was put back."));

        // A rule changed after a rename withdraws its undo, though the history keeps the batch.
        renameImgToX(model);
        QVERIFY(waitForRenamable(model, 3));
        model.batches().performRename();
        QVERIFY(waitForBatch(model));
        QSignalSpy withdrawn(&model.batches(), &WindowBatches::canUndoChanged);
        model.rules().setRules({});
        QVERIFY(!model.batches().canUndo());
        QCOMPARE(withdrawn.count(), 1);
    }

    void aStopPutsEveryFileBackUnderItsOwnName() {
        TempFolder folder;
        for (int i = 0; i < 200; ++i) {
            morvane::testing::writeFile(folder / ("IMG_" + std::to_string(1000 + i) + ".jpg"), "photo");
        }
        const auto original = morvane::testing::snapshot(folder.path());
        ModelFixture fixture;
        auto model =
            fixture.make(std::make_shared<FolderAccess>(slowed(std::make_shared<LocalFileSystem>(), 4)));
        renameImgToX(*model);
        model->items().openFolder(folder.path());
        QVERIFY(waitForRenamable(*model, 200));
        ProgressLog progress(*model);
        QElapsedTimer clock;
        clock.start();
        model->batches().performRename();
        QVERIFY(QTest::qWaitFor([&] { return model->batches().renameProgress().has_value(); }, 5000));
        QVERIFY(clock.elapsed() >= 190); // shown only once the batch has run for a moment
        QCOMPARE(model->batches().renameProgress()->phaseText, std::string("Renaming"));
        QVERIFY(model->batches().renameProgress()->canStop);
        model->batches().stopRenaming();
        QVERIFY(!model->batches().renameProgress()->canStop);
        QVERIFY(waitForBatch(*model));

        QCOMPARE(morvane::testing::snapshot(folder.path()), original);
        QCOMPARE(model->batches().actionMessage(),
                 std::optional<std::string>("Renaming was stopped. Everything was put back."));
        QVERIFY(!model->batches().lastTransaction());
        QCOMPARE(HistoryStore(fixture.history).load().size(), 0u);
        QVERIFY(progress.isOrderlyAndEndsIn(Phase::puttingBack));
    }

    void whileABatchRunsNothingElseChangesIt() {
        ModelFixture fixture;
        Strings renamed{"/p"};
        for (int i = 10; i < 90; ++i) {
            fixture.disk->addFile("/p/IMG_" + std::to_string(i) + ".jpg");
            renamed.push_back("/p/x-" + std::to_string(i) + ".jpg");
        }
        fixture.disk->addFile("/elsewhere/a.txt");
        auto model = fixture.make(std::make_shared<FolderAccess>(slowed(fixture.disk, 5)));
        renameImgToX(*model);
        model->items().openFolder("/p");
        QVERIFY(waitForRenamable(*model, 80));
        ProgressLog progress(*model);
        // Edited after the plan was shown and confirmed: what was shown is renamed.
        const auto edited =
            std::vector{RuleEntry::make(ReplaceRule("IMG_", "y-", false)),
                        RuleEntry::make(RegexRule({{"a", "b", true}, {"c", "d", true}}, false))};
        model->rules().setRules(edited);
        QVERIFY(model->presets().saveCurrentRules("Mine"));
        const auto presetsBefore = model->presets().userPresets();
        model->batches().performRename();
        QVERIFY(model->batches().busy());

        const auto itemsBefore = model->items().list();
        const Uuid first = edited[0].id, second = edited[1].id;
        model->rules().setRules({});
        model->rules().addRule(RuleKind::counter);
        model->rules().duplicate(first);
        model->rules().deleteRule(first);
        model->rules().move(second, -1);
        model->rules().placeRule(second, 0);
        model->rules().reset(first);
        model->rules().setAllExpanded(false);
        model->rules().setEnabled(first, false);
        model->rules().setListMode(second, false);
        model->rules().setListRows(second, {ListRow::make("x", "y")});
        model->presets().apply(FactoryPresets::sequenceOnly());
        model->items().setItems({});
        model->items().setUnchecked({"/p/IMG_10.jpg"});
        model->items().setChecked("/p/IMG_11.jpg", false);
        model->skipConflicting();
        model->items().openFolder("/elsewhere");
        model->items().open({"/elsewhere/a.txt"});
        model->items().setScanOptions(ScanOptions{});
        model->items().rescan();
        model->batches().undoLastRename();
        model->batches().performRename();
        QVERIFY(!model->presets().saveCurrentRules("Mine 2"));
        model->presets().renamePreset(presetsBefore[0], "Yours");
        model->presets().setFavorite(presetsBefore[0], true);
        model->presets().deletePreset(presetsBefore[0]);
        model->presets().importPresets({"/nowhere.morvanepreset"});
        QCOMPARE(model->rules().entries(), edited);
        QCOMPARE(model->items().list(), itemsBefore);
        QCOMPARE(model->presets().userPresets(), presetsBefore);
        QVERIFY(model->items().unchecked().empty() &&
                model->items().folder() == std::optional<std::string>("/p"));
        QVERIFY(!model->batches().confirmationSheet("").canRename &&
                !model->batches().canOpenConfirmation(ConfirmationCommand::rename) &&
                !model->batches().canOpenConfirmation(ConfirmationCommand::preview));

        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths().size(), renamed.size() + 2);
        QVERIFY(std::includes(fixture.disk->paths().begin(), fixture.disk->paths().end(), renamed.begin(),
                              renamed.end()));
        QCOMPARE(HistoryStore(fixture.history).load().size(), 1u);
        QVERIFY(progress.isOrderlyAndEndsIn(Phase::renaming));
        QCOMPARE(progress.shown[progress.shown.size() - 2]->total, 80u);
    }

    void theSheetClosesWhenNothingIsLeftToConfirm() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules({RuleEntry::make(NameRule(NameRule::Mode::fixed, "same"))});
        model->items().setItems(namedItems({"a.txt", "b.txt"}));
        QVERIFY(QTest::qWaitFor([&] { return model->preview().summary().conflicts == 2; }));
        QVERIFY(model->batches().canOpenConfirmation(ConfirmationCommand::rename));
        model->batches().openConfirmation(ConfirmationCommand::preview);
        const ConfirmationSheet sheet = model->batches().confirmationSheet("\u2318Z");
        QCOMPARE(sheet.footer,
                 std::string("Rename is unavailable until every conflict is resolved. Edit the rules, "
                             "add a Counter, or skip the conflicting items."));
        model->skipConflicting();
        QVERIFY(QTest::qWaitFor([&] { return !model->batches().showConfirm(); }));
        QCOMPARE(model->batches().renameButtonTitle(), std::string("Rename"));
        QVERIFY(!model->batches().canOpenConfirmation(ConfirmationCommand::rename));
    }
};

namespace {
const bool registered = registerTestClass<RenameTest>();
}

} // namespace morvane::app::testing

#include "RenameTest.moc"
