// Drops onto the window, the item table's model under Qt's own checks, what
// the window keeps between runs, keyboard and screen-reader access, when the
// application ends, and the file manager's fallback.
#include "DesktopTesting.h"
#include "app/desktop/FileManager.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/Sidebar.h"
#include "app/desktop/WindowToolbar.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSplitter>
#include <set>

namespace morvane::app::testing {
namespace {

// Drags `paths` over the window and drops them, as the desktop delivers it.
bool drop(MainWindow& window, const QStringList& paths, bool* highlighted = nullptr) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << (path.contains("://") ? QUrl(path) : QUrl::fromLocalFile(path));
    }
    data.setUrls(urls);
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (highlighted != nullptr) {
        *highlighted = window.isDropHighlighted();
    }
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return dropped.isAccepted();
}

} // namespace

class DropsAndTableTest : public QObject {
    Q_OBJECT

private slots:
    void droppedFoldersAndFilesAreOpened() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"});
        MainWindow* window = fixture.window();

        bool highlighted = false;
        QVERIFY(drop(*window, {photos}, &highlighted));
        QVERIFY(highlighted);
        QVERIFY(!window->isDropHighlighted());
        QVERIFY(waitForRows(*window, 3));
        QCOMPARE(window->model().items().folder(), std::optional<std::string>(photos.toStdString()));

        QVERIFY(drop(*window, {photos + "/IMG_1.jpg", photos + "/IMG_3.jpg"}));
        QVERIFY(waitForRows(*window, 2));
        QVERIFY(window->model().items().looseFiles());
        QVERIFY(!window->model().items().folder());
        QCOMPARE(window->windowTitle(), QString("Selected Items"));

        // Anything that is not a local file is refused and changes nothing.
        QVERIFY(!drop(*window, {"https://example.org/a.jpg"}, &highlighted));
        QVERIFY(!highlighted);
        QVERIFY(window->model().items().looseFiles());
        QCOMPARE(window->model().items().list().size(), std::size_t(2));

        // A drag that leaves takes its highlight along.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(photos)});
        QDragEnterEvent enter(window->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QVERIFY(window->isDropHighlighted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(window, &leave);
        QVERIFY(!window->isDropHighlighted());
    }

    // Qt's tester checks every answer of the table's model while it loads,
    // filters, sorts, checks and shows only the changed rows.
    void theTableModelHoldsToQtsRules() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "b.txt", "IMG_2.jpg", "a.txt"});
        MainWindow* window = fixture.window();
        QAbstractItemModelTester tester(window->table()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        AppModel& model = window->model();
        model.items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 4));
        model.items().setSearchText("IMG");
        QVERIFY(waitForPlan(*window));
        model.items().setChecked(photos.toStdString() + "/a.txt", false);
        model.items().setOrder(ItemOrder{SortField::size, false});
        QVERIFY(waitForPlan(*window));
        model.preview().setShowOnlyChanged(true);
        QCOMPARE(window->table()->model()->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            const QModelIndex name = window->table()->model()->index(row, ItemTableModel::newName);
            QVERIFY(name.data(ItemTableModel::NewNameTextRole).value<const DiffText*>() != nullptr);
            QVERIFY(name.data().toString().startsWith("santa-cruz-"));
        }
        model.preview().setShowOnlyChanged(false);
        model.items().openFolder(fixture.root.filePath("missing").toStdString());
        QVERIFY(waitForRows(*window, 0));
    }

    void theWindowKeepsItsSizeAndDividers() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->resize(1000, 610);
        window->splitter()->setSizes({160, 500, 240});
        const QList<int> sizes = window->splitter()->sizes();
        window->close();
        QVERIFY(QTest::qWaitFor([&] { return fixture.app->windows().empty(); }));
        MainWindow* again = fixture.window();
        QCOMPARE(again->size(), QSize(1000, 610));
        QCOMPARE(again->splitter()->sizes(), sizes);
    }

    // Tab reaches every control, and each says what it is.
    void everyControlIsReachableAndNamed() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().items().openFolder(fixture.folder("Photos", {"IMG_1.jpg"}).toStdString());
        QVERIFY(waitForRows(*window, 1));
        QVERIFY(bringToFront(window));
        window->toolbar()->filterField()->setFocus();
        std::set<QWidget*> reached;
        for (int step = 0; step < 80; ++step) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool interactive = qobject_cast<QAbstractButton*>(control) ||
                                     qobject_cast<QLineEdit*>(control) ||
                                     qobject_cast<QAbstractItemView*>(control);
            if (!interactive || !control->isVisibleTo(window) || !control->isEnabled() ||
                control->focusPolicy() == Qt::NoFocus || control->objectName() == "qt_toolbar_ext_button") {
                continue;
            }
            QVERIFY2(reached.count(control) == 1, qPrintable(control->metaObject()->className() +
                                                             QString(" ") + control->accessibleName()));
            const auto* button = qobject_cast<QAbstractButton*>(control);
            QVERIFY2(!control->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
                     control->metaObject()->className());
        }
    }

    void theApplicationEndsWithItsLastWindow() {
        DesktopFixture fixture;
        QSignalSpy ended(fixture.app.get(), &DesktopApp::lastWindowClosed);
        MainWindow* first = fixture.window();
        MainWindow* second = fixture.window();
        first->close();
        QTest::qWait(10);
        QCOMPARE(ended.count(), 0);
        second->close();
        QVERIFY(QTest::qWaitFor([&] { return ended.count() == 1; }));

        // Asked to stay, it stays while its settings are open, and ends with them.
        fixture.settings->setQuitAfterLastWindow(false);
        ended.clear();
        MainWindow* third = fixture.window();
        fixture.app->showSettings();
        third->close();
        QTest::qWait(20);
        QCOMPARE(ended.count(), 0);
        fixture.app->settingsWindow()->close();
        QVERIFY(QTest::qWaitFor([&] { return ended.count() > 0; }));
        QCOMPARE(ended.count(), 1);
    }

    void theFileManagerFallsBackToOpeningTheFolder() {
        QList<QUrl> opened;
        FreedesktopFileManager manager(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none"),
                                       [&](const QUrl& url) {
                                           opened << url;
                                           return true;
                                       });
        manager.showFolder("/tmp/Photos");
        QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile("/tmp/Photos")}));
    }

    void theSidebarOffersTheHomeFolders() {
        QTemporaryDir home;
        for (const char* folder : {"Work/2024", "Work/2023", "Library/Caches", "Music", ".cache"}) {
            QDir(home.path()).mkpath(folder);
        }
        Sidebar sidebar(home.path());
        QSignalSpy chosen(&sidebar, &Sidebar::folderChosen);
        QVERIFY(!sidebar.folderIndex(home.filePath("Library")).isValid());
        QVERIFY(!sidebar.folderIndex(home.filePath(".cache")).isValid());
        const QModelIndex year = sidebar.folderIndex(home.filePath("Work/2024"));
        QVERIFY(year.isValid());
        QCOMPARE(year.parent().data().toString(), QString("Work"));
        QCOMPARE(year.row(), 1);
        emit sidebar.activated(year);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.front().front().value<std::string>(), home.filePath("Work/2024").toStdString());
    }
};

namespace {
const bool registered = registerTestClass<DropsAndTableTest>();
}

} // namespace morvane::app::testing

#include "DropsAndTableTest.moc"
