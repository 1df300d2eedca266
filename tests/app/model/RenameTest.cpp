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
    model.setRules({RuleEntry::make(ReplaceRule("IMG_", "x-", false))});
}

// A model with those rules over `folder` of the fixture's disk, which holds `names`.
std::unique_ptr<AppModel> openedOver(ModelFixture& fixture, const std::string& folder,
                                     std::initializer_list<const char*> names) {
    for (const char* name : names) {
        fixture.disk->addFile(folder + "/" + name);
    }
    auto model = fixture.make();
    renameImgToX(*model);
    model->openFolder(folder);
    return model;
}

Strings itemIds(const AppModel& model) {
    Strings ids;
    for (const auto& item : model.items()) {
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
        connection = QObject::connect(&model, &AppModel::renameProgressChanged,
                                      [this, &model] { shown.push_back(model.renameProgress()); });
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
        model->setChecked("/photos/notes.txt", false);
        QCOMPARE(model->renameButtonTitle(), std::string("Rename 2 Items"));
        model->setShowConfirm(true);
        ProgressLog progress(*model);
        model->performRename();
        QVERIFY(model->busy());
        QVERIFY(waitForBatch(*model));

        QCOMPARE(fixture.disk->paths(),
                 (Strings{"/photos", "/photos/notes.txt", "/photos/x-1.jpg", "/photos/x-2.jpg"}));
        QVERIFY(progress.shown.empty()); // a short batch never flashes its progress
        QVERIFY(!model->showConfirm());
        QVERIFY(model->unchecked().empty());
        QVERIFY(!model->actionMessage());
        QCOMPARE(model->lastTransaction()->appliedCount(), 2u);
        const auto recorded = HistoryStore(fixture.history).load();
        QCOMPARE(recorded.size(), 1u);
        QCOMPARE(recorded[0].id, model->lastTransaction()->id);
        QCOMPARE(recorded[0].directory, std::string("/photos"));
        QVERIFY(!recorded[0].presetName);

        const ResultBanner banner = model->resultBanner();
        QCOMPARE(banner.text, std::string("2 items renamed \u00B7 Recorded in Rename History."));
        QVERIFY(!banner.isWarning && banner.undoButton && !banner.dismissButton);
        QCOMPARE(banner.revealFolder, std::optional<std::string>("/photos"));
        QVERIFY(waitForLoad(*model));
        QVERIFY(QTest::qWaitFor(
            [&] { return model->plan().entries.size() == 3 && model->summary().toRename == 0; }));
        QCOMPARE(model->renameButtonTitle(), std::string("Renamed"));
        // Any change of the rules withdraws the undo; the batch stays in the history.
        model->addRule(RuleKind::counter);
        QVERIFY(!model->resultBanner().isShown);
    }

    void failedBatchesSayWhatBecameOfThem() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"});
        QVERIFY(waitForRenamable(*model, 3));
        model->setChecked("/p/IMG_3.jpg", false);
        QVERIFY(waitForRenamable(*model, 2));
        model->performRename();
        QVERIFY(waitForBatch(*model));
        const Uuid earlier = model->lastTransaction()->id;

        // The item left out before is in the plan again, and its move fails.
        QVERIFY(waitForRenamable(*model, 1));
        fixture.disk->failMoves("/p/IMG_3.jpg");
        model->performRename();
        QVERIFY(waitForBatch(*model));
        const std::string rolledBack =
            "Nothing was renamed: Permission denied for \u201CIMG_3.jpg\u201D. Everything was put back.";
        QCOMPARE(model->actionMessage(), std::optional(rolledBack));
        QCOMPARE(model->lastTransaction()->id, earlier); // the earlier batch stays undoable
        QCOMPARE(model->resultBanner().text, rolledBack);
        QVERIFY(model->resultBanner().isWarning && model->resultBanner().undoButton);
        QCOMPARE(HistoryStore(fixture.history).load().size(), 1u);

        // A move fails, and so does putting back the one before it: the batch
        // can be undone as far as it went, and the warning is not hidden by it.
        fixture.disk->addFile("/q/IMG_1.jpg");
        fixture.disk->addFile("/q/IMG_2.jpg");
        fixture.disk->failMoves("/q/IMG_2.jpg");
        fixture.disk->failMoves("/q/x-1.jpg");
        model->openFolder("/q");
        QVERIFY(waitForRenamable(*model, 2));
        model->performRename();
        QVERIFY(waitForBatch(*model));
        const std::string leftBehind =
            "Renaming stopped (Permission denied for \u201CIMG_2.jpg\u201D) and some "
            "files could not be put back. Check Rename History.";
        QCOMPARE(model->actionMessage(), std::optional(leftBehind));
        QCOMPARE(model->lastTransaction()->outcome, RenameTransaction::Outcome::rollbackFailed);
        QCOMPARE(model->lastTransaction()->appliedCount(), 1u);
        QCOMPARE(model->resultBanner().text, leftBehind);
        QVERIFY(model->resultBanner().undoButton && model->resultBanner().dismissButton);
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
        model.openFolder("/p");
        QVERIFY(waitForRenamable(model, 1));
        model.performRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/IMG_1.jpg"}));
        QVERIFY(!model.lastTransaction());
        QVERIFY(model.actionMessage()->starts_with("The history folder \u201C" + locked + "/History\u201D"));
        QVERIFY(model.actionMessage()->ends_with(
            ". Nothing was renamed: renames are recorded there so that they can be undone."));
    }

    void looseFilesTakeTheNamesTheirBatchLeft() {
        ModelFixture fixture;
        for (const char* path : {"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg", "/b/x-3.jpg"}) {
            fixture.disk->addFile(path);
        }
        auto model = fixture.make();
        renameImgToX(*model);
        model->open({"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg"});
        // x-3.jpg is no item, but renaming would meet it: the preview says so.
        QVERIFY(QTest::qWaitFor([&] { return model->summary().conflicts == 1; }));
        QCOMPARE(entryNamed(*model, "IMG_3.jpg").status.kind, RenameStatus::Kind::nameTaken);
        ConfirmationSheet sheet = model->confirmationSheet("\u2318Z");
        QCOMPARE(sheet.title, std::string("Resolve conflicts before renaming"));
        QVERIFY(sheet.canSkip && !sheet.canRename);

        model->skipConflicting();
        QVERIFY(waitForRenamable(*model, 2));
        sheet = model->confirmationSheet("\u2318Z");
        QCOMPARE(sheet.title, std::string("Rename 2 items?"));
        QCOMPARE(sheet.countsLine,
                 std::string("2 will be renamed \u00B7 0 stay the same \u00B7 1 filtered or excluded"));
        QCOMPARE(sheet.footer,
                 std::string("Nothing changes on disk until you click Rename. Undo with \u2318Z."));
        QCOMPARE(sheet.lineCount, 2u);
        QCOMPARE(model->confirmationLine(1), (ConfirmationLine{"IMG_2.jpg", "x-2.jpg"}));
        model->performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/a/x-1.jpg", "/a/x-2.jpg", "/b/IMG_3.jpg"}));
        // The item selected at first stays selected, under its new name.
        QCOMPARE(model->selectedID(), std::optional<std::string>("/a/x-1.jpg"));
        QVERIFY(model->unchecked().empty());
        QVERIFY(!model->resultBanner().revealButton); // no one folder to show

        model->undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b/IMG_3.jpg"}));
        QCOMPARE(fixture.disk->paths(),
                 (Strings{"/a", "/a/IMG_1.jpg", "/a/IMG_2.jpg", "/b", "/b/IMG_3.jpg", "/b/x-3.jpg"}));
        QVERIFY(!model->lastTransaction() && !model->actionMessage());
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
        model->setRules({RuleEntry::make(NameRule(NameRule::Mode::reverse, ""))});
        model->open({"/d/ab.txt", "/d/ba.txt"});
        QVERIFY(waitForRenamable(*model, 2));
        model->setSelectedID("/d/ba.txt");
        model->performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/d/ba.txt", "/d/ab.txt"}));
        QCOMPARE(model->selectedID(), std::optional<std::string>("/d/ab.txt"));
        model->undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/d/ab.txt", "/d/ba.txt"}));
        QCOMPARE(model->selectedID(), std::optional<std::string>("/d/ba.txt"));

        // a → b and b → c: the pairs apply in order, so "b" becomes "c" before "a" becomes "b".
        model->setRules({RuleEntry::make(RegexRule({{"^b$", "c", true}, {"^a$", "b", true}}, false))});
        model->open({"/e/a.txt", "/e/b.txt"});
        QVERIFY(waitForRenamable(*model, 2));
        model->setSelectedID("/e/b.txt");
        model->performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/e/b.txt", "/e/c.txt"}));
        QCOMPARE(model->selectedID(), std::optional<std::string>("/e/c.txt"));
        model->undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(itemIds(*model), (Strings{"/e/a.txt", "/e/b.txt"}));
        // One move per item: a counter now plans two renames from two files.
        model->setRules({RuleEntry::make(CounterRule(CounterRule::Position::suffix, 1, 1, 1, "-"))});
        QVERIFY(waitForRenamable(*model, 2));
        QCOMPARE(model->confirmationLine(0), (ConfirmationLine{"a.txt", "a-1.txt"}));
        QCOMPARE(model->confirmationLine(1), (ConfirmationLine{"b.txt", "b-2.txt"}));
    }

    // A renamed item of a folder stays selected once the folder is read again.
    void theSelectionFollowsItsItemThroughAFolderRename() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg", "IMG_2.jpg"});
        QVERIFY(waitForRenamable(*model, 2));
        model->setSelectedID("/p/IMG_2.jpg");
        model->performRename();
        QVERIFY(waitForBatch(*model));
        QVERIFY(waitForLoad(*model));
        QCOMPARE(model->selectedID(), std::optional<std::string>("/p/x-2.jpg"));
    }

    // An undo the history refuses (its folder cannot be written) leaves the
    // batch to be undone once the folder is mended.
    void anUndoTheHistoryRefusesLeavesTheBatchUndoable() {
        ModelFixture fixture;
        auto model = openedOver(fixture, "/p", {"IMG_1.jpg"});
        QVERIFY(waitForRenamable(*model, 1));
        model->performRename();
        QVERIFY(waitForBatch(*model));
        const Uuid batch = model->lastTransaction()->id;

        const std::string away = fixture.history + ".away";
        std::filesystem::rename(fixture.history, away);
        morvane::testing::writeFile(fixture.history, "not a folder");
        model->undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/x-1.jpg"}));
        QVERIFY(model->actionMessage());
        QVERIFY(model->lastTransaction() && model->lastTransaction()->id == batch);
        QVERIFY(model->canUndo());

        std::filesystem::remove(fixture.history);
        std::filesystem::rename(away, fixture.history);
        model->undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(), (Strings{"/p", "/p/IMG_1.jpg"}));
        QVERIFY(!model->canUndo());
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
        model.openFolder(photos);
        QVERIFY(waitForLoad(model));
        // A new window offers the recorded batch for undo: the way back after a restart.
        QTRY_VERIFY(model.canUndo());
        model.undoLastRename();
        QVERIFY(waitForBatch(model));
        QVERIFY(!model.canUndo());
        QCOMPARE(namesIn(photos), (Strings{"IMG_3.jpg", "IMG_4.jpg", "IMG_5.jpg"}));
        QCOMPARE(model.actionMessage(),
                 std::optional<std::string>("2 files have since changed \u2014 partial undo only."));

        // The window's own batch is taken back from its last transaction.
        renameImgToX(model);
        QVERIFY(waitForRenamable(model, 3));
        model.performRename();
        QVERIFY(waitForBatch(model));
        QVERIFY(model.canUndo());
        const Uuid own = model.lastTransaction()->id;
        model.undoLastRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(namesIn(photos), (Strings{"IMG_3.jpg", "IMG_4.jpg", "IMG_5.jpg"}));
        QVERIFY(!model.lastTransaction() && !model.actionMessage());
        const auto records = HistoryStore(history).load();
        QCOMPARE(records.front().id, own);
        QVERIFY(records.front().isFullyUndone());

        // What is left of the command line's batch has gone for good.
        model.undoLastRename();
        QVERIFY(waitForBatch(model));
        QCOMPARE(model.actionMessage(),
                 std::optional<std::string>("2 files have since changed \u2014 nothing was put back."));

        // A rule changed after a rename withdraws its undo, though the history keeps the batch.
        renameImgToX(model);
        QVERIFY(waitForRenamable(model, 3));
        model.performRename();
        QVERIFY(waitForBatch(model));
        QSignalSpy withdrawn(&model, &AppModel::canUndoChanged);
        model.setRules({});
        QVERIFY(!model.canUndo());
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
        model->openFolder(folder.path());
        QVERIFY(waitForRenamable(*model, 200));
        ProgressLog progress(*model);
        QElapsedTimer clock;
        clock.start();
        model->performRename();
        QVERIFY(QTest::qWaitFor([&] { return model->renameProgress().has_value(); }, 5000));
        QVERIFY(clock.elapsed() >= 190); // shown only once the batch has run for a moment
        QCOMPARE(model->renameProgress()->phaseText, std::string("Renaming"));
        QVERIFY(model->renameProgress()->canStop);
        model->stopRenaming();
        QVERIFY(!model->renameProgress()->canStop);
        QVERIFY(waitForBatch(*model));

        QCOMPARE(morvane::testing::snapshot(folder.path()), original);
        QCOMPARE(model->actionMessage(),
                 std::optional<std::string>("Renaming was stopped. Everything was put back."));
        QVERIFY(!model->lastTransaction());
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
        model->openFolder("/p");
        QVERIFY(waitForRenamable(*model, 80));
        ProgressLog progress(*model);
        // Edited after the plan was shown and confirmed: what was shown is renamed.
        const auto edited =
            std::vector{RuleEntry::make(ReplaceRule("IMG_", "y-", false)),
                        RuleEntry::make(RegexRule({{"a", "b", true}, {"c", "d", true}}, false))};
        model->setRules(edited);
        QVERIFY(model->saveCurrentRules("Mine"));
        const auto presetsBefore = model->userPresets();
        model->performRename();
        QVERIFY(model->busy());

        const auto itemsBefore = model->items();
        const Uuid first = edited[0].id, second = edited[1].id;
        model->setRules({});
        model->addRule(RuleKind::counter);
        model->duplicate(first);
        model->deleteRule(first);
        model->move(second, -1);
        model->placeRule(second, 0);
        model->reset(first);
        model->setAllExpanded(false);
        model->setEnabled(first, false);
        model->setListMode(second, false);
        model->setListRows(second, {ListRow::make("x", "y")});
        model->apply(FactoryPresets::sequenceOnly());
        model->setItems({});
        model->setUnchecked({"/p/IMG_10.jpg"});
        model->setChecked("/p/IMG_11.jpg", false);
        model->skipConflicting();
        model->openFolder("/elsewhere");
        model->open({"/elsewhere/a.txt"});
        model->setScanOptions(ScanOptions{});
        model->rescan();
        model->undoLastRename();
        model->performRename();
        QVERIFY(!model->saveCurrentRules("Mine 2"));
        model->renamePreset(presetsBefore[0], "Yours");
        model->setFavorite(presetsBefore[0], true);
        model->deletePreset(presetsBefore[0]);
        model->importPresets({"/nowhere.morvanepreset"});
        QCOMPARE(model->rules(), edited);
        QCOMPARE(model->items(), itemsBefore);
        QCOMPARE(model->userPresets(), presetsBefore);
        QVERIFY(model->unchecked().empty() && model->folder() == std::optional<std::string>("/p"));
        QVERIFY(!model->confirmationSheet("").canRename && !model->canOpenConfirmation());

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
        model->setRules({RuleEntry::make(NameRule(NameRule::Mode::fixed, "same"))});
        model->setItems(namedItems({"a.txt", "b.txt"}));
        QVERIFY(QTest::qWaitFor([&] { return model->summary().conflicts == 2; }));
        QVERIFY(model->canOpenConfirmation());
        model->setShowConfirm(true);
        const ConfirmationSheet sheet = model->confirmationSheet("\u2318Z");
        QCOMPARE(sheet.footer,
                 std::string("Rename is unavailable until every conflict is resolved. Edit the rules, "
                             "add a Counter, or skip the conflicting items."));
        model->skipConflicting();
        QVERIFY(QTest::qWaitFor([&] { return !model->showConfirm(); }));
        QCOMPARE(model->renameButtonTitle(), std::string("Rename"));
        QVERIFY(!model->canOpenConfirmation());
    }
};

namespace {
const bool registered = registerTestClass<RenameTest>();
}

} // namespace morvane::app::testing

#include "RenameTest.moc"
