// The window as a new user meets it: where the keyboard's focus is and what
// Ctrl+Z reaches, the status bar and the item table at the sizes a window
// opens at, secondary texts and radio buttons readable in both appearances,
// sheets placed over their window, and Qt's own texts in the desktop's
// language.
#include "DesktopTesting.h"
#include "app/desktop/Appearance.h"
#include "app/desktop/Commands.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/ItemsNoticeBar.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/Sidebar.h"
#include "app/desktop/WindowStatusBar.h"
#include "app/desktop/WindowToolbar.h"
#include "app/model/Localizer.h"
#include "engine/support/Localization.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyleOptionButton>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace morvane::app::testing {
namespace {

// Keys as the keyboard sends them: to the widget that has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus != nullptr, "nothing has the keyboard's focus");
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

RenameSheet* renameSheet(const MainWindow& window) {
    return qobject_cast<RenameSheet*>(window.renameBinding()->dialog());
}

// Ctrl+R, then Return on the sheet, from wherever the focus is; true once
// the batch is over and the sheet gone.
bool renameByKeyboard(MainWindow& window) {
    press(Qt::Key_R, Qt::ControlModifier);
    if (!QTest::qWaitFor([&] {
            RenameSheet* sheet = renameSheet(window);
            return sheet != nullptr && sheet->isVisible() && sheet->renameButton()->isEnabled() &&
                   QApplication::focusWidget() != nullptr && sheet->isAncestorOf(QApplication::focusWidget());
        })) {
        return false;
    }
    press(Qt::Key_Return);
    return QTest::qWaitFor(
        [&] { return renameSheet(window) == nullptr && !window.model().batches().busy(); });
}

// The relative luminance and contrast ratio of the readability guideline for text.
double luminance(const QColor& color) {
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The horizontal extent of a column inside the table's viewport.
bool wholeInView(const ItemTable& table, int column) {
    const QHeaderView* header = table.horizontalHeader();
    const int left = header->sectionViewportPosition(column);
    return !header->isSectionHidden(column) && left >= 0 &&
           left + header->sectionSize(column) <= table.viewport()->width();
}

} // namespace

class FirstUseTest : public QObject {
    Q_OBJECT

private slots:
    // The sheet promises "Undo with Ctrl+Z": the key reaches Undo Rename from
    // the table, which has the focus from the start and again after the
    // batch, and from a text field that has no typing of its own to undo.
    void ctrlZUndoesTheRenameFromWhereTheFocusIs() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg"});
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        // Nothing to preview in an empty window.
        QVERIFY(!window->commands().action("preview")->isEnabled());
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->table()));
        QVERIFY(window->commands().action("preview")->isEnabled());

        QVERIFY(renameByKeyboard(*window));
        QCOMPARE(filesIn(photos), (QStringList{"santa-cruz-1.jpg", "santa-cruz-2.jpg"}));
        QTRY_COMPARE(window->focusWidget(), static_cast<QWidget*>(window->table()));
        // The window manager gives the window back its activation once the sheet is gone.
        QVERIFY(bringToFront(window));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->table()));
        press(Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(filesIn(photos), (QStringList{"IMG_1.jpg", "IMG_2.jpg"}));
        // The undo's own batch hands the focus back too.
        QTRY_VERIFY(!window->model().batches().busy());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->table()));

        // From the filter, untouched: the key goes on to Undo Rename.
        QLineEdit* filter = window->toolbar()->filterField();
        QVERIFY(QTest::qWaitFor([&] { return window->model().preview().summary().toRename == 2; }));
        QVERIFY(renameByKeyboard(*window));
        QVERIFY(bringToFront(window));
        QTest::mouseClick(filter, Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(filter));
        press(Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(filesIn(photos), (QStringList{"IMG_1.jpg", "IMG_2.jpg"}));
        QVERIFY(filter->text().isEmpty());
        QTRY_VERIFY(!window->model().batches().busy());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(filter));

        // Typing in the filter is its own to undo; the rename stays.
        QVERIFY(QTest::qWaitFor([&] { return window->model().preview().summary().toRename == 2; }));
        QVERIFY(renameByKeyboard(*window));
        QTRY_COMPARE(window->focusWidget(), static_cast<QWidget*>(filter));
        QVERIFY(bringToFront(window));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(filter));
        QTest::keyClicks(QApplication::focusWidget(), "santa");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(filter->text(), QString());
        QCOMPARE(filesIn(photos), (QStringList{"santa-cruz-1.jpg", "santa-cruz-2.jpg"}));
        QVERIFY(window->commands().action("undoRename")->isEnabled());
    }

    // A name that is not valid UTF-8 is left out, and the window says so
    // until the notice is dismissed.
    void namesLeftOutAreTold() {
        DesktopFixture fixture;
        const QString mixed = fixture.folder("Mixed", {"a.txt"});
        const QByteArray unreadable = QFile::encodeName(mixed) + "/caf\xe9.txt";
        const int made = ::open(unreadable.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(made >= 0);
        ::close(made);
        MainWindow* window = fixture.window();
        window->model().items().openFolder(mixed.toStdString());
        QVERIFY(waitForRows(*window, 1));
        ItemsNoticeBar* notice = window->itemsNotice();
        QTRY_VERIFY(notice->isVisible());
        QCOMPARE(notice->textLabel()->text(), QString("1 item with an unreadable name was left out"));
        QTest::mouseClick(notice->dismissButton(), Qt::LeftButton);
        QTRY_VERIFY(!notice->isVisible());
    }

    // Without the legend, the figures stay together and the button keeps its size.
    void theStatusBarHoldsTogetherWithoutTheLegend() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "a.txt"});
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        QVERIFY(fixture.settings->highlightChanges());
        press(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!fixture.settings->highlightChanges());
        WindowStatusBar* bar = window->statusPanel();
        QVERIFY(bar->isVisible() && bar->width() > 0);
        // Laid out now rather than when the event loop next gets to it.
        bar->layout()->activate();
        QPushButton* rename = bar->renameButton();
        QCOMPARE(rename->width(), std::max(rename->sizeHint().width(), rename->minimumWidth()));
        for (const QLabel* label : bar->findChildren<QLabel*>()) {
            if (label->isVisible()) {
                QVERIFY2(label->width() <= label->sizeHint().width(), qPrintable(label->text()));
            }
        }
    }

    // Status and both names in view, without scrolling, at the size a window
    // opens at and at 900 px wide, their titles whole in English and in the
    // longer German; the sidebar gives way first, and the names share the room.
    void theNamesStayInViewAtTheDefaultSizeAndAt900Pixels() {
        DesktopFixture fixture;
        const QString photos =
            fixture.folder("Photos", {"IMG_20240615_183012_holiday_in_the_mountains.jpg", "notes.txt"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        ItemTable* table = window->table();
        const QHeaderView* header = table->horizontalHeader();
        const int opened = window->width();
        for (const char* language : {"en", "de"}) {
            fixture.settings->setLanguagePreference(language);
            for (const int width : {opened, 900}) {
                window->resize(width, window->height());
                QTRY_COMPARE(window->width(), width);
                QTRY_VERIFY(wholeInView(*table, ItemTableModel::newName));
                const QString where = QString("%1 px, %2: ").arg(width).arg(language);
                for (const int column : {ItemTableModel::include, ItemTableModel::status,
                                         ItemTableModel::currentName, ItemTableModel::newName}) {
                    QVERIFY2(wholeInView(*table, column), qPrintable(where + QString::number(column)));
                }
                QCOMPARE(table->horizontalScrollBar()->value(), 0);
                for (const int column : {ItemTableModel::currentName, ItemTableModel::newName}) {
                    const QString title = header->model()->headerData(column, Qt::Horizontal).toString();
                    QVERIFY2(header->sectionSize(column) >=
                                 table->fontMetrics().horizontalAdvance(title) + 20,
                             qPrintable(where + title));
                }
                QVERIFY(std::abs(header->sectionSize(ItemTableModel::currentName) -
                                 header->sectionSize(ItemTableModel::newName)) <= 1);
                QVERIFY(header->sectionSize(ItemTableModel::include) <
                        header->sectionSize(ItemTableModel::status));
            }
            QCOMPARE(window->sidebar()->width(), std::max(window->sidebar()->minimumWidth(),
                                                          window->sidebar()->minimumSizeHint().width()));
        }
        fixture.settings->setLanguagePreference("en");
    }

    // Secondary texts read at 4.5:1 or more on every background they are drawn on.
    void secondaryTextsAreReadableInBothAppearances() {
        const QPalette light = Appearance::lightPalette();
        const QPalette dark = Appearance::darkPalette();
        for (const auto& [palette, name] : {std::pair{light, "light"}, std::pair{dark, "dark"}}) {
            for (const QPalette::ColorRole background :
                 {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button}) {
                const double ratio =
                    contrast(palette.color(QPalette::PlaceholderText), palette.color(background));
                QVERIFY2(ratio >= 4.5, qPrintable(QString("%1, background %2: %3:1")
                                                      .arg(name)
                                                      .arg(int(background))
                                                      .arg(ratio, 0, 'f', 2)));
            }
        }
    }

    // In dark appearance an unchecked radio button has a visible outline,
    // not a dark disc on a dark window.
    void radioButtonsAreVisibleInDarkAppearance() {
        DesktopFixture fixture;
        fixture.settings->setAppearance(AppearanceChoice::dark);
        QRadioButton radio;
        radio.setPalette(QApplication::palette());
        radio.resize(radio.sizeHint());
        const QImage image = radio.grab().toImage();
        QStyleOptionButton option;
        option.initFrom(&radio);
        const QRect indicator =
            radio.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, &radio);
        const QColor window = QApplication::palette().color(QPalette::Window);
        QColor brightest = Qt::black;
        const qreal scale = radio.devicePixelRatioF();
        for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
            for (int x = indicator.left(); x <= indicator.right(); ++x) {
                const QColor pixel = image.pixelColor(QPoint(x, y) * scale);
                if (luminance(pixel) > luminance(brightest)) {
                    brightest = pixel;
                }
            }
        }
        QVERIFY2(luminance(brightest) > luminance(window) && contrast(brightest, window) >= 1.5,
                 qPrintable(QString("outline %1 on %2").arg(brightest.name(), window.name())));
    }

    // Sheets and the settings window open centred on their window, and
    // wholly on screen when their window is partly off it.
    void sheetsOpenCentredOnTheirWindow() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg"});
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 1));
        const QRect screen = window->screen()->availableGeometry();
        const auto offCentre = [&](const QWidget& placed) {
            return (placed.frameGeometry().center() - window->frameGeometry().center()).manhattanLength();
        };
        window->resize(screen.size() - QSize(20, 20));
        window->move(screen.topLeft() + QPoint(10, 10));
        QTRY_COMPARE(window->frameGeometry().topLeft(), screen.topLeft() + QPoint(10, 10));
        for (const QPoint shift : {QPoint(0, 0), QPoint(screen.width() / 2, screen.height() / 2)}) {
            window->move(screen.topLeft() + QPoint(10, 10) + shift);
            QTRY_VERIFY(window->frameGeometry().topLeft() == screen.topLeft() + QPoint(10, 10) + shift);
            QVERIFY(bringToFront(window));
            press(Qt::Key_R, Qt::ControlModifier);
            QTRY_VERIFY(renameSheet(*window) != nullptr && renameSheet(*window)->isVisible());
            const RenameSheet& sheet = *renameSheet(*window);
            QVERIFY(screen.contains(sheet.frameGeometry()));
            if (shift.isNull()) {
                const auto r = [](const QRect& g) {
                    return QString("%1,%2 %3x%4 ").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
                };
                QVERIFY2(offCentre(sheet) <= 4,
                         qPrintable(r(sheet.frameGeometry()) + r(window->frameGeometry()) + r(screen)));
            }
            QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                        sheet.isAncestorOf(QApplication::focusWidget()));
            press(Qt::Key_Escape);
            QTRY_VERIFY(renameSheet(*window) == nullptr);

            fixture.app->showSettings();
            QTRY_VERIFY(fixture.app->settingsWindow() != nullptr &&
                        fixture.app->settingsWindow()->isVisible());
            const QWidget& settings = *fixture.app->settingsWindow();
            QVERIFY(screen.contains(settings.frameGeometry()));
            if (shift.isNull()) {
                QVERIFY2(offCentre(settings) <= 4, qPrintable(QString::number(offCentre(settings))));
            }
            fixture.app->settingsWindow()->close();
            QTRY_VERIFY(fixture.app->settingsWindow() == nullptr);
        }
    }

    // Following a German desktop, Qt's own texts are German too.
    void qtsOwnTextsFollowTheDesktopsLanguage() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm")) {
            QSKIP("Qt's translations are not installed");
        }
        QTemporaryDir root;
        AppSettings settings(std::make_unique<QSettings>(root.filePath("settings.ini"), QSettings::IniFormat),
                             {"de-DE"});
        QCOMPARE(settings.languagePreference(), std::string("system"));
        {
            DesktopServices services;
            services.watchDesktopAppearance = false;
            DesktopApp app(settings, services);
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        }
        const QString afterwards = QCoreApplication::translate("QPlatformTheme", "Cancel");
        Localizer::setLanguage(AppLanguage::english());
        Localization::setLanguage("en");
        QCOMPARE(afterwards, QString("Cancel"));
    }
};

namespace {
const bool registered = registerTestClass<FirstUseTest>();
} // namespace

} // namespace morvane::app::testing

#include "FirstUseTest.moc"
