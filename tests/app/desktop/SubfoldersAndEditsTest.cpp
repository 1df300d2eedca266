// Subfolders, a new name edited by hand, numbering per folder and the last
// rules, driven from the keyboard as a user drives them: every key goes to
// the widget that has the focus.
#include "RuleCardTesting.h"
#include "app/desktop/Commands.h"
#include "app/desktop/EmptyStateView.h"
#include "app/desktop/LoadNoticeBar.h"
#include "app/desktop/ScanCommands.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/WindowToolbar.h"
#include "app/model/ScanChoices.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/rules/CounterRule.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QSemaphore>
#include <QTimer>

namespace morvane::app::testing {
namespace {

// The local disk, holding the listing of one folder until released.
class GatedDisk final : public LocalFileSystem {
public:
    std::string gated;
    mutable QSemaphore reached;
    mutable QSemaphore release;

    std::vector<FSEntry> entries(const std::string& directory) const override {
        if (directory == gated) {
            reached.release();
            release.acquire();
        }
        return LocalFileSystem::entries(directory);
    }
};

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

// Tabs through the window until `target` has the focus.
bool tabTo(QWidget* target) {
    for (int step = 0; step < 120 && QApplication::focusWidget() != target; ++step) {
        press(Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

// Chooses the `position`-th command of the menu that is about to open (and
// hold everything up until one is chosen), by arrow keys and Enter.
void chooseInNextMenu(int position) {
    QTimer::singleShot(0, [position] {
        if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 3000)) {
            return; // the test's own wait for the outcome fails
        }
        for (int step = 0; step < position; ++step) {
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
        }
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    });
}

int rowNamed(MainWindow& window, const QString& name) {
    QAbstractItemModel* rows = window.table()->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        if (rows->index(row, ItemTableModel::currentName).data().toString() == name) {
            return row;
        }
    }
    return -1;
}

QString cellOf(MainWindow& window, const QString& name, int column, int role = Qt::DisplayRole) {
    return window.table()->model()->index(rowNamed(window, name), column).data(role).toString();
}

// Makes the row of `name` current in the table, which then has the focus.
void focusRow(MainWindow& window, const QString& name) {
    window.table()->setFocus();
    window.table()->setCurrentIndex(window.table()->model()->index(rowNamed(window, name), 1));
}

} // namespace

class SubfoldersAndEditsTest : public QObject {
    Q_OBJECT

private slots:
    // The toolbar's Scan Options, opened with the keyboard, reads the
    // subfolders too; the View menu's command says so, and the Path column
    // writes each item's folder from the opened one.
    void scanOptionsReadSubfolders() {
        DesktopFixture fixture;
        const QString trip = fixture.folder("Trip", {"a.jpg"});
        fixture.folder("Trip/Rome", {"b.jpg"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(trip.toStdString());
        QVERIFY(waitForRows(*window, 1));
        QVERIFY(bringToFront(window));
        QToolButton* scan = window->scanCommands()->button();
        QCOMPARE(scan->accessibleName(), QString("Scan Options"));
        QVERIFY(tabTo(scan));
        chooseInNextMenu(1);
        press(Qt::Key_Space);
        QVERIFY(waitForRows(*window, 2));
        QVERIFY(window->model().items().scanOptions().recursive);
        QAction* subfolders = window->commands().action("includeSubfolders");
        QVERIFY(subfolders != nullptr);
        QVERIFY(subfolders->isChecked());
        QVERIFY(window->menuBar()->findChild<QMenu*>("viewMenu")->actions().contains(subfolders));
        QCOMPARE(cellOf(*window, "b.jpg", ItemTableModel::path), QString("Rome"));
        QCOMPARE(cellOf(*window, "a.jpg", ItemTableModel::path), QString());
        // The folder tells items of one name apart: it comes right after the
        // new name, in view at the window's size.
        const QHeaderView* header = window->table()->horizontalHeader();
        QCOMPARE(header->visualIndex(ItemTableModel::path), header->visualIndex(ItemTableModel::newName) + 1);
        QVERIFY(header->sectionViewportPosition(ItemTableModel::path) +
                    header->sectionSize(ItemTableModel::path) <=
                window->table()->viewport()->width());

        // The last of files and folders cannot be turned off.
        QVERIFY(!window->scanCommands()->action("listFiles")->isEnabled());
        // A new window reads as this one does now; the picker offers it so.
        MainWindow* next = fixture.window();
        QVERIFY(next->model().items().scanOptions().recursive);
        QVERIFY(bringToFront(next));
        fixture.dialogs->folders.push_back(trip.toStdString());
        fixture.dialogs->subfolders.push_back(false);
        next->toolbar()->filterField()->setFocus();
        press(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(waitForRows(*next, 1));
        QCOMPARE(fixture.dialogs->offeredSubfolders, std::vector<bool>{true});
        QVERIFY(!next->scanCommands()->action("includeSubfolders")->isChecked());
    }

    // A long read counts in the empty state; Stop, reached with Tab, keeps
    // what was read, a notice says the rest is missing, Read Again reads it.
    void stoppingALongReadKeepsWhatItRead() {
        auto disk = std::make_shared<GatedDisk>();
        DesktopFixture fixture(disk);
        const QString big = fixture.folder("Big", {});
        fixture.folder("Big/a", {"1.jpg", "2.jpg"});
        fixture.folder("Big/b", {"3.jpg"});
        disk->gated = big.toStdString() + "/b";
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().items().openFolder(big.toStdString());
        QVERIFY(disk->reached.tryAcquire(1, 5000));
        EmptyStateView* empty = window->emptyState();
        QVERIFY(QTest::qWaitFor([&] { return empty->countLabel()->isVisible(); }));
        QCOMPARE(empty->countLabel()->text(), QString("2 items read so far"));
        QPushButton* stop = empty->stopButton();
        QVERIFY(stop->isEnabled());
        window->toolbar()->filterField()->setFocus();
        QVERIFY(tabTo(stop));
        press(Qt::Key_Space);
        QVERIFY(!stop->isEnabled());
        disk->release.release();
        QVERIFY(waitForRows(*window, 2));
        LoadNoticeBar* notice = window->loadNoticeBar();
        QVERIFY(QTest::qWaitFor([&] { return notice->isVisible(); }));
        QCOMPARE(notice->textLabel()->text(),
                 QString("Reading was stopped after 2 items: the rest of the folder is not listed."));

        disk->gated.clear();
        QTest::mouseClick(notice->readAgainButton(), Qt::LeftButton);
        QVERIFY(waitForRows(*window, 3));
        QVERIFY(!notice->isVisible());
    }

    // F2 edits the current row's new name with its stem selected; Enter
    // keeps the edit, marked and with its status, Escape drops a second one;
    // the row's menu (Shift+F10) takes it back to the rules' name.
    void aNewNameIsEditedInPlace() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        QVERIFY(bringToFront(window));
        focusRow(*window, "IMG_2.jpg");
        press(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->accessibleName(), QString("New Name"));
        QCOMPARE(editor->selectedText(), QString("santa-cruz-2"));
        QTest::keyClicks(editor, "Beach");
        press(Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "IMG_2.jpg") == "Beach.jpg"; }));
        QCOMPARE(cellOf(*window, "IMG_2.jpg", ItemTableModel::status), QString("Edited"));
        QVERIFY(!window->table()
                     ->model()
                     ->index(rowNamed(*window, "IMG_2.jpg"), ItemTableModel::newName)
                     .data(Qt::DecorationRole)
                     .isNull());
        QCOMPARE(window->rulePanel()->editedNamesLabel()->text(), QString("1 edited name kept"));

        focusRow(*window, "IMG_2.jpg");
        press(Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), "Dunes");
        press(Qt::Key_Escape);
        QTest::qWait(100);
        QCOMPARE(newNameOf(*window, "IMG_2.jpg"), QString("Beach.jpg"));
        QCOMPARE(QApplication::focusWidget(), window->table());

        press(Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(QTest::qWaitFor([&] { return window->table()->contextMenu() != nullptr; }));
        QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "IMG_2.jpg") == "santa-cruz-2.jpg"; }));
        QVERIFY(!window->rulePanel()->editedNamesLabel()->isVisibleTo(window));
    }

    // An edit that clashes is a conflict like any other; the panel's button
    // takes every edit back.
    void editsAreCheckedAndTakenBackTogether() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 3));
        QVERIFY(bringToFront(window));
        for (const char* name : {"IMG_1.jpg", "IMG_3.jpg"}) {
            focusRow(*window, name);
            press(Qt::Key_F2);
            QTest::keyClicks(QApplication::focusWidget(), "same");
            press(Qt::Key_Return);
        }
        QVERIFY(QTest::qWaitFor(
            [&] { return cellOf(*window, "IMG_3.jpg", ItemTableModel::status) == "Conflict"; }));
        QCOMPARE(cellOf(*window, "IMG_1.jpg", ItemTableModel::status), QString("Conflict"));
        QVERIFY(!window->model().batches().confirmationSheet("").canRename);
        QToolButton* useRules = window->rulePanel()->useRulesNamesButton();
        QCOMPARE(window->rulePanel()->editedNamesLabel()->text(), QString("2 edited names kept"));
        QVERIFY(tabTo(useRules));
        press(Qt::Key_Space);
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "IMG_3.jpg") == "santa-cruz-3.jpg"; }));
        QVERIFY(window->model().rules().editedNames().empty());
    }

    // The Counter's new choice, checked with the keyboard, numbers each
    // folder's items from the start.
    void theCounterStartsAgainInEachFolder() {
        DesktopFixture fixture;
        const QString trip = fixture.folder("Trip", {"a.jpg", "b.jpg"});
        fixture.folder("Trip/Rome", {"c.jpg"});
        fixture.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
        MainWindow* window = fixture.window();
        window->model().rules().setRules(
            {RuleEntry::make(CounterRule(CounterRule::Position::prefix, 1, 1, 2, "_"))});
        window->model().items().openFolder(trip.toStdString());
        QVERIFY(waitForRows(*window, 3));
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "c.jpg") == "03_c.jpg"; }));
        QVERIFY(bringToFront(window));
        QCheckBox* perFolder = control<QCheckBox>(card(*window, 0), "Start again in each folder");
        QVERIFY(perFolder != nullptr);
        window->toolbar()->filterField()->setFocus();
        QVERIFY(tabTo(perFolder));
        press(Qt::Key_Space);
        QVERIFY(ruleAt<CounterRule>(*window, 0).perFolder);
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "c.jpg") == "01_c.jpg"; }));
        QCOMPARE(newNameOf(*window, "b.jpg"), QString("02_b.jpg"));
        QVERIFY(card(*window, 0)->header()->summaryText().endsWith("\u00B7 each folder"));
    }

    // Turned on in the settings, the last rules come back in the first
    // window of the next run, and only there.
    void theLastRulesComeBackAtTheNextStart() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        fixture.app->showSettings();
        SettingsWindow* settings = fixture.app->settingsWindow();
        QVERIFY(bringToFront(settings));
        QCheckBox* lastRules = settings->lastRulesToggle();
        QCOMPARE(lastRules->text(), QString("Start with the last rules"));
        settings->tabs()->setFocus();
        QVERIFY(tabTo(lastRules));
        press(Qt::Key_Space);
        QVERIFY(fixture.settings->startWithLastRules());
        settings->close();

        window->model().rules().setRules({RuleEntry::make(ReplaceRule("DSC", "holiday", true), false, true)});
        window->close();
        QVERIFY(QTest::qWaitFor([&] { return fixture.app->windows().empty(); }));

        // The next run: another application over the same settings.
        DesktopServices services = fixture.services();
        services.watchDesktopAppearance = false;
        services.modelEnvironment.presetDirectory = fixture.root.filePath("presets").toStdString();
        services.modelEnvironment.historyDirectory = fixture.root.filePath("history").toStdString();
        fixture.app = std::make_unique<DesktopApp>(*fixture.settings, services);
        MainWindow* first = fixture.window();
        QCOMPARE(first->model().rules().entries().size(), std::size_t(1));
        QCOMPARE(ruleAt<ReplaceRule>(*first, 0), ReplaceRule("DSC", "holiday", true));
        QVERIFY(!first->model().rules().entries()[0].isEnabled);
        QCOMPARE(ruleAt<ReplaceRule>(*fixture.window(), 0), ReplaceRule("IMG_", "santa-cruz-", false));
    }
};

namespace {
const bool registered = registerTestClass<SubfoldersAndEditsTest>();
}

} // namespace morvane::app::testing

#include "SubfoldersAndEditsTest.moc"
