// The sheets and the settings window: the pair-list editor bound to the rule
// it edits, the welcome view, and the settings with the language switched
// live under open windows.
#include "DesktopTesting.h"
#include "app/desktop/Commands.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/ListEditorSheet.h"
#include "app/desktop/PairRowsModel.h"
#include "app/desktop/PresetCommands.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/WelcomeSheet.h"
#include "app/desktop/WindowToolbar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

namespace morvane::app::testing {
namespace {

ListEditorSheet* openListEditor(MainWindow& window, const std::vector<ReplaceRule::Pair>& pairs) {
    const RuleEntry entry = RuleEntry::make(ReplaceRule(pairs, false));
    window.model().rules().setRules({entry});
    window.model().rules().setListEditingRule(entry.id);
    ListEditorSheet* sheet = nullptr;
    (void)QTest::qWaitFor([&] {
        sheet = qobject_cast<ListEditorSheet*>(window.listEditorBinding()->dialog());
        return sheet != nullptr && sheet->isVisible();
    });
    return sheet;
}

const ReplaceRule& replaceRule(const MainWindow& window) {
    return std::get<ReplaceRule>(window.model().rules().entries().front().rule);
}

QString readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void thePairListEditorWritesEveryChangeBack() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().items().openFolder(
            fixture.folder("Photos", {"IMG_1.jpg", "notes.txt", "copy.txt"}).toStdString());
        QVERIFY(waitForRows(*window, 3));
        ListEditorSheet* sheet = openListEditor(*window, {{"IMG_", "x-", true}, {"zzz", "y", false}});
        QVERIFY(sheet);
        QVERIFY(sheet->isModal());
        QCOMPARE(sheet->windowTitle(), QString("Replace \u00B7 Rule 1"));
        QCOMPARE(sheet->rows().headerData(PairRowsModel::find, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Find"));
        QCOMPARE(sheet->activeLabel()->text(), QString("1 of 2 rows active"));
        QVERIFY(QTest::qWaitFor(
            [&] { return sheet->rows().index(0, PairRowsModel::matches).data().toString() == "1"; }));
        // The count under the list agrees with its number.
        QVERIFY(QTest::qWaitFor(
            [&] { return sheet->changedLabel()->text() == "1 item changed in the preview"; }));

        // Typing into a cell reaches the rule with every keystroke.
        QTableView* table = sheet->table();
        table->setFocus();
        table->setCurrentIndex(sheet->rows().index(1, PairRowsModel::find));
        QTest::keyClick(table, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        qobject_cast<QLineEdit*>(editor)->selectAll();
        QTest::keyClicks(editor, "co");
        QCOMPARE(replaceRule(*window).pairs[1].find, std::string("co"));
        QTest::keyClick(editor, Qt::Key_Return);
        // Checking the row turns the pair on.
        sheet->rows().setData(sheet->rows().index(1, PairRowsModel::enabled), Qt::Checked,
                              Qt::CheckStateRole);
        QVERIFY(replaceRule(*window).pairs[1].isEnabled);
        QVERIFY(QTest::qWaitFor(
            [&] { return sheet->changedLabel()->text() == "2 items changed in the preview"; }));

        // The toolbar: a row added, the selected rows duplicated and removed.
        QTest::mouseClick(sheet->button("addRow"), Qt::LeftButton);
        QCOMPARE(replaceRule(*window).pairs.size(), std::size_t(3));
        table->selectRow(0);
        QTest::mouseClick(sheet->button("duplicate"), Qt::LeftButton);
        QCOMPARE(replaceRule(*window).pairs.size(), std::size_t(4));
        QCOMPARE(replaceRule(*window).pairs[1].find, std::string("IMG_"));
        table->selectRow(3);
        QTest::mouseClick(sheet->button("remove"), Qt::LeftButton);
        QCOMPARE(replaceRule(*window).pairs.size(), std::size_t(3));

        // Pasting: the clipboard's pairs, or why nothing came.
        QTest::mouseClick(sheet->button("paste"), Qt::LeftButton);
        QCOMPARE(sheet->messageLabel()->text(), QString("The clipboard has no text."));
        fixture.clipboard->held = "one\t1\ntwo\t2\n";
        QTest::mouseClick(sheet->button("paste"), Qt::LeftButton);
        QCOMPARE(sheet->messageLabel()->text(), QString("2 rows added."));
        QCOMPARE(replaceRule(*window).pairs.back().with, std::string("2"));
        fixture.clipboard->held = "\n\n";
        QTest::mouseClick(sheet->button("paste"), Qt::LeftButton);
        QCOMPARE(sheet->messageLabel()->text(), QString("Nothing to add."));

        // Export writes the pairs as tab-separated text; import reads them back in.
        const QString exported = fixture.root.filePath("pairs.tsv");
        fixture.dialogs->saveFiles.push_back(exported.toStdString());
        QTest::mouseClick(sheet->button("export"), Qt::LeftButton);
        QCOMPARE(readAll(exported), QString("IMG_\tx-\nIMG_\tx-\nco\ty\none\t1\ntwo\t2\n"));
        QFile damaged(fixture.root.filePath("damaged.tsv"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("caf\xe9\tx\n");
        damaged.close();
        fixture.dialogs->chosenFiles.push_back(damaged.fileName().toStdString());
        QTest::mouseClick(sheet->button("import"), Qt::LeftButton);
        QCOMPARE(sheet->messageLabel()->text(), QString("That file could not be read as text."));
        QCOMPARE(replaceRule(*window).pairs.size(), std::size_t(5));
        fixture.dialogs->chosenFiles.push_back(exported.toStdString());
        QTest::mouseClick(sheet->button("import"), Qt::LeftButton);
        QCOMPARE(replaceRule(*window).pairs.size(), std::size_t(10));
        // A file the export cannot write says so.
        fixture.dialogs->saveFiles.push_back(fixture.root.filePath("no/such/folder/pairs.tsv").toStdString());
        QTest::mouseClick(sheet->button("export"), Qt::LeftButton);
        QCOMPARE(sheet->messageLabel()->text(), QString("The file could not be written."));

        // Done closes the sheet and the model forgets what it edited.
        sheet->findChild<QPushButton*>()->click();
        QVERIFY(QTest::qWaitFor([&] { return !window->model().rules().listEditingRule(); }));
    }

    void thePairListEditorClosesWithItsRule() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        ListEditorSheet* sheet = openListEditor(*window, {{"a", "b", true}});
        QVERIFY(sheet);
        QPointer<ListEditorSheet> watched = sheet;
        window->model().rules().deleteRule(window->model().rules().entries().front().id);
        QVERIFY(QTest::qWaitFor([&] { return watched.isNull() || !watched->isVisible(); }));
        QVERIFY(!window->model().rules().listEditingRule());
        // Clearing the field from the model closes an open sheet as well.
        sheet = openListEditor(*window, {{"a", "b", true}});
        QVERIFY(sheet);
        watched = sheet;
        window->model().rules().setListEditingRule(std::nullopt);
        QVERIFY(QTest::qWaitFor([&] { return watched.isNull() || !watched->isVisible(); }));
    }

    void launchOptionsOpenTheirSheetsOverTheFirstWindow() {
        DesktopFixture fixture;
        LaunchOptions::offer({"--settings", "--list"});
        MainWindow* first = fixture.window();
        QVERIFY(QTest::qWaitFor([&] { return fixture.app->settingsWindow() != nullptr; }));
        QVERIFY(QTest::qWaitFor([&] { return first->listEditorBinding()->dialog() != nullptr; }));
        QCOMPARE(std::get<ReplaceRule>(first->model().rules().entries().front().rule).pairs.size(),
                 std::size_t(4));
        QVERIFY(!first->model().openSettingsAtLaunch());
        fixture.app->settingsWindow()->close();
        MainWindow* second = fixture.window();
        QTest::qWait(20);
        QVERIFY(!second->listEditorBinding()->dialog());
        QVERIFY(!fixture.app->settingsWindow());
    }

    // "Open With" on two files of a folder of three: the window holds those two.
    void filesHandedOverByAFileManagerFillTheFirstWindow() {
        DesktopFixture fixture;
        const QDir folder(fixture.folder("Trip", {"a.jpg", "b.jpg", "c.jpg"}));
        LaunchOptions::offer(
            {folder.filePath("a.jpg").toStdString(), folder.filePath("c.jpg").toStdString()});
        MainWindow* window = fixture.window();
        QVERIFY(waitForRows(*window, 2));
        QCOMPARE(window->table()->model()->rowCount(), 2);
        QCOMPARE(window->table()->model()->index(1, ItemTableModel::currentName).data().toString(),
                 QString("c.jpg"));
        QVERIFY(window->model().items().looseFiles());
    }

    void theWelcomeViewComesBackWhenAsked() {
        DesktopFixture fixture;
        fixture.settings->setWelcomeSeen(false);
        MainWindow* first = fixture.window();
        MainWindow* second = fixture.window();
        QVERIFY(!first->welcomeBinding()->dialog());
        fixture.app->showSettings();
        QTest::mouseClick(fixture.app->settingsWindow()->welcomeButton(), Qt::LeftButton);
        QVERIFY(first->model().showWelcome());
        QVERIFY(second->model().showWelcome());
        QVERIFY(QTest::qWaitFor([&] { return first->welcomeBinding()->dialog() != nullptr; }));
        auto* welcome = qobject_cast<WelcomeSheet*>(first->welcomeBinding()->dialog());
        QVERIFY(welcome);
        QTest::mouseClick(welcome->startButton(), Qt::LeftButton);
        QVERIFY(fixture.settings->welcomeSeen());
        QVERIFY(!first->model().showWelcome());
        QVERIFY(second->model().showWelcome());
    }

    void settingsTakeEffectAtOnce() {
        DesktopFixture fixture;
        fixture.app->showSettings();
        SettingsWindow* settings = fixture.app->settingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        settings->highlightToggle()->click();
        QVERIFY(!fixture.settings->highlightChanges());
        settings->appearanceChoices()->button(2)->click();
        QCOMPARE(fixture.settings->appearance(), AppearanceChoice::dark);
        QVERIFY(QApplication::palette().color(QPalette::Window).lightnessF() < 0.5);
        settings->appearanceChoices()->button(1)->click();
        QVERIFY(QApplication::palette().color(QPalette::Window).lightnessF() > 0.5);
        // The updater's choices are shown, but do nothing on this system.
        const auto boxes = settings->findChildren<QCheckBox*>();
        QCOMPARE(std::count_if(boxes.begin(), boxes.end(), [](QCheckBox* box) { return !box->isEnabled(); }),
                 2);
        QVERIFY(settings->findChildren<QLabel*>().size() > 0);
        const auto labels = settings->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
            return label->text() == QString::fromStdString(AppSettings::historyNote());
        }));
    }

    // Every widget relabels itself when told of a new language, windows and
    // sheets alike, the settings included.
    void aNewLanguageRelabelsEveryOpenWindow() {
        DesktopFixture fixture;
        MainWindow* first = fixture.window();
        MainWindow* second = fixture.window();
        first->model().items().openFolder(fixture.folder("Photos", {"IMG_1.jpg"}).toStdString());
        QVERIFY(waitForRows(*first, 1));
        first->model().rules().setListEditingRule(first->model().rules().entries().front().id);
        QTRY_VERIFY(first->listEditorBinding()->dialog() != nullptr);
        auto* listEditor = qobject_cast<ListEditorSheet*>(first->listEditorBinding()->dialog());
        fixture.app->showSettings();
        QComboBox* picker = fixture.app->settingsWindow()->languagePicker();
        QCOMPARE(picker->itemText(0), QString("Same as the system"));
        QCOMPARE(picker->count(), 13);
        const int spanish = picker->findText("Espa\u00F1ol");
        QVERIFY(spanish > 0);
        picker->setCurrentIndex(spanish);
        emit picker->activated(spanish);
        QCOMPARE(fixture.settings->languagePreference(), std::string("es"));

        for (MainWindow* window : {first, second}) {
            QTRY_COMPARE(window->menuBar()->findChild<QMenu*>("fileMenu")->title(), QString("&Archivo"));
            QCOMPARE(window->toolbar()->filterField()->placeholderText(), QString("Filtrar"));
            QCOMPARE(window->table()->model()->headerData(2, Qt::Horizontal).toString(),
                     QString("Nombre actual"));
            QCOMPARE(window->commands().action("toggleCriteria")->text(),
                     QString("Ocultar criterios de renombrado"));
            QCOMPARE(window->commands().action("undoRename")->text(), QString("Deshacer renombrado"));
        }
        QCOMPARE(second->presetCommands()->button()->text(), QString("Preajuste  Reglas personalizadas"));
        QCOMPARE(listEditor->button("addRow")->text(), QString("A\u00F1adir fila"));
        QTRY_COMPARE(fixture.app->settingsWindow()->tabs()->tabText(1), QString("Apariencia"));
        QCOMPARE(picker->currentText(), QString("Espa\u00F1ol"));
        QVERIFY(QTest::qWaitFor(
            [&] { return first->table()->model()->index(0, 1).data().toString() == "Renombrar"; }));

        picker->setCurrentIndex(0);
        emit picker->activated(0);
        QCOMPARE(fixture.settings->languagePreference(), std::string("system"));
        QTRY_COMPARE(first->toolbar()->filterField()->placeholderText(), QString("Filter"));
        QCOMPARE(listEditor->button("addRow")->text(), QString("Add Row"));
    }

    // The texts Qt draws itself follow a chosen language, and the names of
    // keys in the shortcuts a window writes follow with them: a window is told
    // of the new language once Qt's own translations are in place.
    void qtsOwnTextsAndKeyNamesFollowAChosenLanguage() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm")) {
            QSKIP("Qt's translations are not installed");
        }
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        QToolButton* criteria = window->toolbar()->criteriaButton();
        QVERIFY(criteria->toolTip().contains("Ctrl+Alt+R"));
        fixture.settings->setLanguagePreference("de");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        QTRY_VERIFY2(criteria->toolTip().contains("Strg+Alt+R"), qPrintable(criteria->toolTip()));
        fixture.settings->setLanguagePreference("system");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        QTRY_VERIFY2(criteria->toolTip().contains("Ctrl+Alt+R"), qPrintable(criteria->toolTip()));
    }
};

namespace {
const bool registered = registerTestClass<SheetsTest>();
}

} // namespace morvane::app::testing

#include "SheetsTest.moc"
