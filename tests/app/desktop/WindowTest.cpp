// The main window driven as a user drives it: opening a folder, filtering,
// checking rows, sorting, the menu shortcuts over one and two windows, the
// about box.
#include "DesktopTesting.h"
#include "app/desktop/Commands.h"
#include "app/desktop/EmptyStateView.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/WindowStatusBar.h"
#include "app/desktop/WindowToolbar.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace morvane::app::testing {
namespace {

QString cell(const ItemTable& table, int row, int column, int role = Qt::DisplayRole) {
    return table.model()->index(row, column).data(role).toString();
}

QStringList column(const ItemTable& table, int at) {
    QStringList values;
    for (int row = 0; row < table.model()->rowCount(); ++row) {
        values << cell(table, row, at);
    }
    return values;
}

// Where a click lands on a row's check box.
QPoint checkBoxOf(ItemTable& table, int row) {
    const QModelIndex index = table.model()->index(row, ItemTableModel::include);
    QStyleOptionViewItem option;
    option.initFrom(table.viewport());
    option.rect = table.visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return table.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &table).center();
}

QPoint headerOf(ItemTable& table, int section) {
    QHeaderView* header = table.horizontalHeader();
    return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
            header->height() / 2};
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void openingAFolderShowsItsItems() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "notes.txt"});
        MainWindow* window = fixture.window();
        QVERIFY(window->emptyState()->isVisible());

        // A cancelled dialog changes nothing.
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(fixture.dialogs->asked, 1);
        QVERIFY(!window->model().items().folder());

        fixture.dialogs->folders.push_back(photos.toStdString());
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(waitForRows(*window, 3));
        QVERIFY(QTest::qWaitFor([&] { return window->table()->isVisible(); }));
        QCOMPARE(window->windowTitle(), QString("Photos"));
        QCOMPARE(column(*window->table(), ItemTableModel::currentName),
                 (QStringList{"IMG_1.jpg", "IMG_2.jpg", "notes.txt"}));
        QCOMPARE(column(*window->table(), ItemTableModel::newName),
                 (QStringList{"santa-cruz-1.jpg", "santa-cruz-2.jpg", "notes.txt"}));
        QCOMPARE(cell(*window->table(), 2, ItemTableModel::status), QString("Unchanged"));
        QCOMPARE(window->statusPanel()->figuresText(),
                 QString("3 items \u00B7 3 included \u00B7 2 to rename \u00B7 No conflicts"));
        QCOMPARE(window->statusPanel()->renameButton()->text(), QString("Rename 2 Items"));
        // The first item in the table's order is selected.
        QCOMPARE(window->table()->currentIndex().row(), 0);
    }

    void aFolderThatCannotBeReadSaysWhy() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().items().openFolder(fixture.root.filePath("missing").toStdString());
        QVERIFY(QTest::qWaitFor([&] { return window->emptyState()->errorLabel()->isVisible(); }));
        QVERIFY(!window->emptyState()->errorLabel()->text().isEmpty());
        QVERIFY(window->emptyState()->openButton()->isVisible());
    }

    void theFilterCheckBoxesAndHeadersDriveThePreview() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "notes.txt"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 3));
        ItemTable& table = *window->table();

        QTest::keyClicks(window->toolbar()->filterField(), "IMG");
        QCOMPARE(window->model().items().searchText(), std::string("IMG"));
        QVERIFY(QTest::qWaitFor([&] { return cell(table, 2, ItemTableModel::status) == "Filtered"; }));
        QCOMPARE(cell(table, 2, ItemTableModel::status, Qt::ToolTipRole),
                 QString("Hidden by the current filter"));
        QTest::keyClick(window->toolbar()->filterField(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window->toolbar()->filterField(), Qt::Key_Backspace);
        QVERIFY(QTest::qWaitFor([&] { return window->model().items().searchText().empty(); }));

        // Unchecking the second row's box excludes it.
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, checkBoxOf(table, 1));
        QVERIFY(!window->model().items().isChecked(photos.toStdString() + "/IMG_2.jpg"));
        QVERIFY(QTest::qWaitFor([&] { return cell(table, 1, ItemTableModel::status) == "Excluded"; }));
        QCOMPARE(window->model().preview().summary().included, std::size_t(2));
        // Space on the current row checks it again.
        table.setFocus();
        table.setCurrentIndex(table.model()->index(1, ItemTableModel::currentName));
        QTest::keyClick(&table, Qt::Key_Space);
        QVERIFY(window->model().items().isChecked(photos.toStdString() + "/IMG_2.jpg"));

        // The Size header sorts by size, then the other way; Status sorts nothing.
        QTest::mouseClick(table.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          headerOf(table, ItemTableModel::size));
        QCOMPARE(window->model().items().sortField(), SortField::size);
        const bool ascending = window->model().items().sortAscending();
        QTest::mouseClick(table.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          headerOf(table, ItemTableModel::size));
        QCOMPARE(window->model().items().sortAscending(), !ascending);
        const QStringList expected = window->model().items().sortAscending()
                                         ? QStringList{"IMG_1.jpg", "IMG_2.jpg", "notes.txt"}
                                         : QStringList{"notes.txt", "IMG_2.jpg", "IMG_1.jpg"};
        QVERIFY(QTest::qWaitFor([&] { return column(table, ItemTableModel::currentName) == expected; }));
        QTest::mouseClick(table.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          headerOf(table, ItemTableModel::status));
        QCOMPARE(window->model().items().sortField(), SortField::size);
        QCOMPARE(table.horizontalHeader()->sortIndicatorSection(), int(ItemTableModel::size));

        // Choosing a row selects its item.
        table.setCurrentIndex(table.model()->index(0, ItemTableModel::currentName));
        QCOMPARE(window->model().items().selectedID(),
                 std::optional<std::string>(cell(table, 0, ItemTableModel::path).toStdString() + "/" +
                                            cell(table, 0, ItemTableModel::currentName).toStdString()));
    }

    void theCriteriaCommandAlternates() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        QAction* criteria = window->commands().action("toggleCriteria");
        QCOMPARE(criteria->text(), QString("Hide Renaming Criteria"));
        QVERIFY(window->rulePanel()->isVisible());
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(!window->rulePanel()->isVisible());
        QCOMPARE(criteria->text(), QString("Show Renaming Criteria"));
        QVERIFY(!window->toolbar()->criteriaButton()->isChecked());
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(window->rulePanel()->isVisible());
        QCOMPARE(criteria->text(), QString("Hide Renaming Criteria"));
        QVERIFY(window->toolbar()->criteriaButton()->isChecked());
        QVERIFY(window->toolbar()->criteriaButton()->toolTip().contains(
            Shortcuts::criteria().toString(QKeySequence::NativeText)));
        // The toolbar's button is the same command.
        QTest::mouseClick(window->toolbar()->criteriaButton(), Qt::LeftButton);
        QVERIFY(!window->rulePanel()->isVisible());
        QCOMPARE(criteria->text(), QString("Show Renaming Criteria"));
    }

    void commandsActOnTheFrontmostWindow() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "notes.txt"});
        MainWindow* first = fixture.window();
        MainWindow* second = fixture.window();
        for (MainWindow* window : {first, second}) {
            window->model().items().openFolder(photos.toStdString());
            QVERIFY(waitForRows(*window, 2));
        }
        QVERIFY(bringToFront(second));
        QCOMPARE(fixture.app->frontmost(), second);

        // Highlighting is one setting for every window.
        QVERIFY(fixture.settings->highlightChanges());
        QTest::keyClick(second, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!fixture.settings->highlightChanges());
        QVERIFY(!first->toolbar()->highlightButton()->isChecked());
        QVERIFY(!second->toolbar()->highlightButton()->isChecked());

        // Showing only changed items is the front window's own.
        QTest::keyClick(second, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(second->model().preview().showOnlyChanged());
        QVERIFY(!first->model().preview().showOnlyChanged());
        QCOMPARE(second->table()->model()->rowCount(), 1);
        QCOMPARE(first->table()->model()->rowCount(), 2);
        QVERIFY(second->commands().action("showOnlyChanged")->isChecked());
        QVERIFY(!first->commands().action("showOnlyChanged")->isChecked());

        // Rename and Preview ask the front window only for the confirmation.
        QTest::keyClick(second, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(second->model().batches().showConfirm());
        QVERIFY(!first->model().batches().showConfirm());
        second->model().batches().closeConfirmation();
        QTest::keyClick(second, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(second->model().batches().showConfirm());
        QVERIFY(!first->model().batches().showConfirm());
        // Its sheet closed, the window has the focus back.
        second->model().batches().closeConfirmation();
        QVERIFY(QTest::qWaitForWindowActive(second));

        QVERIFY(bringToFront(first));
        QCOMPARE(fixture.app->frontmost(), first);
        QTest::mouseClick(first->statusPanel()->renameButton(), Qt::LeftButton);
        QVERIFY(first->model().batches().showConfirm());
    }

    void renameIsOfferedOnlyWithSomethingToDo() {
        DesktopFixture fixture;
        const QString plain = fixture.folder("Plain", {"notes.txt"});
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().items().openFolder(plain.toStdString());
        QVERIFY(waitForRows(*window, 1));
        QVERIFY(!window->commands().action("rename")->isEnabled());
        QVERIFY(!window->statusPanel()->renameButton()->isEnabled());
        QCOMPARE(window->statusPanel()->renameButton()->text(), QString("Rename"));
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!window->model().batches().showConfirm());
    }

    void newWindowsAreIndependent() {
        DesktopFixture fixture;
        MainWindow* first = fixture.window();
        QVERIFY(bringToFront(first));
        QTest::keyClick(first, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(fixture.app->windows().size(), std::size_t(2));
        MainWindow* second = fixture.app->windows().back();
        QVERIFY(&second->model() != &first->model());
        QCOMPARE(second->model().items().title(), std::string("Morvane"));
    }

    // The licence is a build setting; the about box must show the one the
    // program is distributed under, not a placeholder.
    void theAboutBoxNamesTheLicence() {
        DesktopFixture fixture;
        QVERIFY(bringToFront(fixture.window()));
        QString shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&shown] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    shown = box->text();
                    box->accept();
                }
            }
        });
        closer.start(10);
        fixture.window()->commands().action("about")->trigger(); // returns once the box is closed
        QVERIFY(shown.contains("Licensed under the GPL-3.0-or-later licence."));
    }
};

namespace {
const bool registered = registerTestClass<WindowTest>();
}

} // namespace morvane::app::testing

#include "WindowTest.moc"
