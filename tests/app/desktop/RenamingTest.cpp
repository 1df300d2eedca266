// Renaming as a user does it: the confirmation sheet opened from the menu
// over the front window, the rename on disk, the banner with its undo and
// its folder, skipping conflicts, a long batch stopped halfway, and putting
// back what a crash left.
#include "DesktopTesting.h"
#include "app/desktop/Commands.h"
#include "app/desktop/ConfirmationLines.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/RecoveryBar.h"
#include "app/desktop/RenameProgressView.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/ResultBannerView.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/WindowStatusBar.h"
#include "app/desktop/tools/InterruptedBatch.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/testing/DiskFixtures.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace morvane::app::testing {
namespace {

RenameSheet* renameSheet(const MainWindow& window) {
    return qobject_cast<RenameSheet*>(window.renameBinding()->dialog());
}

// The sheet once it is up over the window.
RenameSheet* waitForSheet(const MainWindow& window) {
    RenameSheet* sheet = nullptr;
    (void)QTest::qWaitFor([&] {
        sheet = renameSheet(window);
        return sheet != nullptr && sheet->isVisible();
    });
    return sheet;
}

bool waitForSheetClosed(const MainWindow& window) {
    return QTest::qWaitFor(
        [&] { return renameSheet(window) == nullptr && !window.model().batches().showConfirm(); });
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList lineTexts(const RenameSheet& sheet) {
    QStringList texts;
    for (int row = 0; row < sheet.lineModel().rowCount(); ++row) {
        texts << sheet.lineModel().index(row).data().toString();
    }
    return texts;
}

// "IMG_1000.jpg" and on: names the window's first rule renames.
QStringList photoNames(int count) {
    QStringList names;
    for (int i = 1000; i < 1000 + count; ++i) {
        names << QString("IMG_%1.jpg").arg(i);
    }
    return names;
}

// A window in front with `folder` open and planned; null when it does not come to be.
MainWindow* frontWindowOn(DesktopFixture& fixture, const QString& folder, std::size_t rows) {
    MainWindow* window = fixture.window();
    if (!bringToFront(window)) {
        return nullptr;
    }
    window->model().items().openFolder(folder.toStdString());
    return waitForRows(*window, rows) ? window : nullptr;
}

// ⌘R over the window in front, and its sheet once the plan can be renamed.
RenameSheet* confirmFromMenu(MainWindow& window) {
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    RenameSheet* sheet = waitForSheet(window);
    if (sheet == nullptr || !QTest::qWaitFor([&] { return sheet->renameButton()->isEnabled(); })) {
        return nullptr;
    }
    return sheet;
}

bool hasChangeMarks(const DiffText& text) {
    return std::any_of(text.pieces().begin(), text.pieces().end(),
                       [](const DiffText::Piece& piece) { return piece.kind != NameDiff::Kind::equal; });
}

} // namespace

class RenamingTest : public QObject {
    Q_OBJECT

private slots:
    void renamingFromTheFrontWindowAndUndoingIt() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "notes.txt"});
        MainWindow* back = fixture.window();
        back->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*back, 3));
        MainWindow* front = fixture.window();
        QVERIFY(bringToFront(front));
        fixture.dialogs->folders.push_back(photos.toStdString());
        QTest::keyClick(front, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(waitForRows(*front, 3));

        // ⇧⌘P and ⌘R both open the sheet over the front window only.
        QTest::keyClick(front, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        RenameSheet* sheet = waitForSheet(*front);
        QVERIFY(sheet);
        QVERIFY(!renameSheet(*back));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(waitForSheetClosed(*front));
        QVERIFY(bringToFront(front));
        QTest::keyClick(front, Qt::Key_R, Qt::ControlModifier);
        sheet = waitForSheet(*front);
        QVERIFY(sheet);
        QVERIFY(!renameSheet(*back));
        QVERIFY(sheet->isModal());

        QCOMPARE(sheet->titleLabel()->text(), QString("Rename 2 items?"));
        QCOMPARE(sheet->countsLabel()->text(),
                 QString("2 will be renamed \u00B7 1 stays the same \u00B7 0 filtered or excluded"));
        QCOMPARE(sheet->footerLabel()->text(),
                 QString("Nothing changes on disk until you click Rename. Undo with %1.")
                     .arg(Shortcuts::undo().toString(QKeySequence::NativeText)));
        QCOMPARE(lineTexts(*sheet),
                 (QStringList{"IMG_1.jpg \u2192 santa-cruz-1.jpg", "IMG_2.jpg \u2192 santa-cruz-2.jpg"}));
        const ConfirmationLines::Line& line = sheet->lineModel().line(0);
        QCOMPARE(line.oldName.plainText(), QString("IMG_1.jpg"));
        QVERIFY(hasChangeMarks(line.oldName));
        QVERIFY(hasChangeMarks(line.newName));
        QVERIFY(!sheet->skipButton()->isEnabled());

        // Enter renames: the sheet closes and the banner says what happened.
        QVERIFY(sheet->renameButton()->isEnabled());
        QTest::keyClick(sheet, Qt::Key_Return);
        QVERIFY(waitForSheetClosed(*front));
        ResultBannerView* banner = front->resultBanner();
        QVERIFY(QTest::qWaitFor([&] { return banner->isVisible(); }));
        QCOMPARE(banner->textLabel()->text(), QString("2 items renamed \u00B7 Recorded in Rename History."));
        QVERIFY(!banner->isWarning());
        QVERIFY(banner->undoButton()->isVisible());
        QVERIFY(!banner->dismissButton()->isVisible());
        QCOMPARE(filesIn(photos), (QStringList{"notes.txt", "santa-cruz-1.jpg", "santa-cruz-2.jpg"}));
        QVERIFY(!back->resultBanner()->isVisible());

        // The folder is shown in the file manager.
        QTest::mouseClick(banner->revealButton(), Qt::LeftButton);
        QCOMPARE(fixture.fileManager->shown, std::vector<std::string>{photos.toStdString()});

        // ⌘Z takes the rename back; then there is nothing more to undo.
        QAction* undo = front->commands().action("undoRename");
        QVERIFY(undo->isEnabled());
        QVERIFY(!back->model().batches().lastTransaction());
        QVERIFY(bringToFront(front));
        QTest::keyClick(front, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([&] { return !front->model().batches().busy() && !banner->isVisible(); }));
        QCOMPARE(filesIn(photos), (QStringList{"IMG_1.jpg", "IMG_2.jpg", "notes.txt"}));
        QVERIFY(!undo->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return front->model().preview().summary().toRename == 2; }));
    }

    void aRuleChangedAfterARenameWithdrawsItsUndo() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg"});
        MainWindow* window = frontWindowOn(fixture, photos, 1);
        QVERIFY(window);
        QTest::mouseClick(window->statusPanel()->renameButton(), Qt::LeftButton);
        RenameSheet* sheet = waitForSheet(*window);
        QVERIFY(sheet);
        QTest::mouseClick(sheet->renameButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window->resultBanner()->isVisible(); }));
        QVERIFY(window->commands().action("undoRename")->isEnabled());

        window->model().rules().addRule(RuleKind::letterCase);
        QVERIFY(!window->resultBanner()->isVisible());
        QVERIFY(!window->commands().action("undoRename")->isEnabled());
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QTest::qWait(50);
        QCOMPARE(filesIn(photos), QStringList{"santa-cruz-1.jpg"});
    }

    void skippingConflictsKeepsTheSheetOnlyWhileSomethingIsLeft() {
        DesktopFixture fixture;
        // IMG_1.jpg would take the name santa-cruz-1.jpg already has.
        const QString mixed = fixture.folder("Mixed", {"IMG_1.jpg", "santa-cruz-1.jpg", "IMG_2.jpg"});
        MainWindow* window = frontWindowOn(fixture, mixed, 3);
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        RenameSheet* sheet = waitForSheet(*window);
        QVERIFY(sheet);
        QCOMPARE(sheet->titleLabel()->text(), QString("Resolve conflicts before renaming"));
        QVERIFY(sheet->footerLabel()->text().startsWith("Rename is unavailable until every conflict"));
        QVERIFY(!sheet->renameButton()->isEnabled());
        QVERIFY(sheet->skipButton()->isEnabled());

        QTest::mouseClick(sheet->skipButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return sheet->titleLabel()->text() == "Rename 1 item?"; }));
        QVERIFY(sheet->isVisible());
        QVERIFY(sheet->renameButton()->isEnabled());
        QVERIFY(!sheet->skipButton()->isEnabled());
        QCOMPARE(lineTexts(*sheet), QStringList{"IMG_2.jpg \u2192 santa-cruz-2.jpg"});
        QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton);
        QVERIFY(waitForSheetClosed(*window));

        // With nothing but the conflict, skipping it leaves nothing to confirm.
        const QString clash = fixture.folder("Clash", {"IMG_1.jpg", "santa-cruz-1.jpg"});
        window->model().items().openFolder(clash.toStdString());
        QVERIFY(QTest::qWaitFor([&] { return window->model().preview().summary().conflicts > 0; }));
        QVERIFY(bringToFront(window));
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        sheet = waitForSheet(*window);
        QVERIFY(sheet);
        QCOMPARE(sheet->lineModel().rowCount(), 0);
        QTest::mouseClick(sheet->skipButton(), Qt::LeftButton);
        QVERIFY(waitForSheetClosed(*window));
        QCOMPARE(filesIn(clash), (QStringList{"IMG_1.jpg", "santa-cruz-1.jpg"}));
    }

    void stoppingALongRenamePutsEveryFileBack() {
        DesktopFixture fixture(morvane::testing::slowed(std::make_shared<LocalFileSystem>(), 4));
        const QStringList names = photoNames(200);
        const QString photos = fixture.folder("Photos", names);
        MainWindow* window = frontWindowOn(fixture, photos, 200);
        QVERIFY(window);
        RenameSheet* sheet = confirmFromMenu(*window);
        QVERIFY(sheet);
        QTest::mouseClick(sheet->renameButton(), Qt::LeftButton);

        // While it runs: its progress in the sheet, nothing that edits enabled,
        // and the sheet stays whatever the keyboard says.
        RenameProgressView* progress = sheet->progress();
        QVERIFY(QTest::qWaitFor([&] { return progress->isVisible(); }));
        QCOMPARE(progress->phaseLabel()->text(), QString("Renaming"));
        QVERIFY(!window->progressView()->isVisible());
        QVERIFY(!window->rulePanel()->isEnabled());
        QVERIFY(!window->table()->isEnabled());
        QVERIFY(!sheet->cancelButton()->isEnabled());
        QVERIFY(!sheet->renameButton()->isEnabled());
        QVERIFY(!window->commands().action("openFolder")->isEnabled());
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(sheet->isVisible());

        QVERIFY(progress->stopButton()->isEnabled());
        QTest::mouseClick(progress->stopButton(), Qt::LeftButton);
        QVERIFY(!progress->stopButton()->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return !window->model().batches().busy(); }, 20000));
        QVERIFY(waitForSheetClosed(*window));
        QCOMPARE(filesIn(photos), names);
        ResultBannerView* banner = window->resultBanner();
        QVERIFY(banner->isVisible());
        QVERIFY(banner->isWarning());
        QCOMPARE(banner->textLabel()->text(), QString("Renaming was stopped. Everything was put back."));
        QVERIFY(!banner->undoButton()->isVisible());
        QVERIFY(window->rulePanel()->isEnabled());
        QTest::mouseClick(banner->dismissButton(), Qt::LeftButton);
        QVERIFY(!banner->isVisible());
        QVERIFY(!window->model().batches().actionMessage());
    }

    void aLongUndoShowsItsProgressOverTheWindow() {
        DesktopFixture fixture(morvane::testing::slowed(std::make_shared<LocalFileSystem>(), 4));
        const QStringList names = photoNames(150);
        const QString photos = fixture.folder("Photos", names);
        MainWindow* window = frontWindowOn(fixture, photos, 150);
        QVERIFY(window);
        RenameSheet* sheet = confirmFromMenu(*window);
        QVERIFY(sheet);
        QTest::mouseClick(sheet->renameButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window->resultBanner()->undoButton()->isVisible(); }, 20000));

        QTest::mouseClick(window->resultBanner()->undoButton(), Qt::LeftButton);
        RenameProgressView* progress = window->progressView();
        QVERIFY(QTest::qWaitFor([&] { return progress->isVisible(); }));
        QCOMPARE(progress->phaseLabel()->text(), QString("Undoing"));
        QVERIFY(progress->stopButton()->isEnabled());
        QVERIFY(!window->commands().action("undoRename")->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return !window->model().batches().busy(); }, 20000));
        QVERIFY(!progress->isVisible());
        QCOMPARE(filesIn(photos), names);
    }

    // A batch a crash cut short is offered in the window and put back at a click.
    void aCrashedBatchIsPutBackFromTheWindow() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"});
        const auto before = morvane::testing::snapshot(photos.toStdString());
        QVERIFY(leaveInterruptedBatch(photos.toStdString(), fixture.root.filePath("history").toStdString(),
                                      RenamePipeline({makeStep(ReplaceRule("IMG_", "x-", false))}), 2));
        QCOMPARE(filesIn(photos), (QStringList{"IMG_3.jpg", "x-1.jpg", "x-2.jpg"}));

        // Another folder is renamed first: the offer waits while it runs.
        MainWindow* window = frontWindowOn(fixture, fixture.folder("Other", photoNames(2)), 2);
        QVERIFY(window);
        RecoveryBar* bar = window->recoveryBar();
        QVERIFY(QTest::qWaitFor([&] { return bar->isVisible(); }));
        QCOMPARE(
            bar->textLabel()->text(),
            QString("A batch of 3 items in \u201C%1\u201D was interrupted before it ended.").arg(photos));
        QCOMPARE(bar->dismissButton()->text(), QString("Not Now"));
        window->model().batches().performRename();
        QVERIFY(window->model().batches().busy());
        QVERIFY(!bar->putBackButton()->isEnabled() && !bar->dismissButton()->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return !window->model().batches().busy(); }));
        QVERIFY(bar->putBackButton()->isEnabled());

        QCOMPARE(bar->putBackButton()->text(), QString("Put Back"));
        QTest::mouseClick(bar->putBackButton(), Qt::LeftButton);
        QVERIFY(!bar->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !window->model().batches().busy(); }));
        QCOMPARE(morvane::testing::snapshot(photos.toStdString()), before);
        ResultBannerView* banner = window->resultBanner();
        QCOMPARE(banner->textLabel()->text(), QString("2 files were put back."));
        QVERIFY(!banner->isWarning());
    }
};

namespace {
const bool registered = registerTestClass<RenamingTest>();
}

} // namespace morvane::app::testing

#include "RenamingTest.moc"
