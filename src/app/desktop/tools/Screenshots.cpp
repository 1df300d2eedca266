// Renders the main states of the window offscreen into PNG files, for
// reviewing the look without a desktop:
//
//   QT_QPA_PLATFORM=offscreen morvane_screenshots OUTPUT-FOLDER
//
// Nothing of the user's is touched: settings, presets and history live in a
// temporary folder, and the items are files made there.
#include "app/desktop/DesktopApp.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstring>

using namespace morvane;
using namespace morvane::app;

namespace {

void waitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void settle(int milliseconds = 150) {
    waitFor([] { return false; }, milliseconds);
}

// A folder of names that show what the preview does: camera names, two names
// that collide once cleaned, letter-case changes.
QString makeSampleFolder(const QTemporaryDir& root) {
    const QString folder = root.filePath("Trip to Santa Cruz");
    QDir().mkpath(folder);
    for (const char* name : {"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG", "IMG_0010.JPG", "IMG_0011.JPG",
                             "DSC_0042.jpg", "Holiday Photo.JPG", "holiday_photo.jpg", "README.TXT",
                             "Notes  (draft).txt", "Résumé 2024.pdf", "beach panorama final.png"}) {
        QFile file(QDir(folder).filePath(QString::fromUtf8(name)));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(static_cast<int>(std::strlen(name)) * 731, 'x'));
    }
    return folder;
}

std::vector<RuleEntry> cleaningRules() {
    return {
        RuleEntry::make(ReplaceRule({{"IMG_", "photo-", true}, {" ", "-", true}, {"_", "-", true}}, false)),
        RuleEntry::make(CaseRule(CaseRule::Mode::lower, CaseRule::ExtensionMode::lower), true, false)};
}

bool save(const QPixmap& picture, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QString(name) + ".png");
    if (!picture.save(path)) {
        std::fprintf(stderr, "morvane_screenshots: could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A sheet drawn where it appears: over its window, centred near the top,
// the window dimmed a little behind it.
QPixmap withSheet(QWidget* window, QWidget* sheet) {
    QPixmap picture = window->grab();
    const QPixmap drawn = sheet->grab();
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QColor(0, 0, 0, 60));
    const QPoint at((window->width() - sheet->width()) / 2, 40);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawRect(QRect(at, sheet->size()).adjusted(-1, -1, 0, 0));
    painter.drawPixmap(at, drawn);
    return picture;
}

// One rule of each kind, set as a user might: the card of each is shown expanded.
std::vector<std::pair<const char*, AnyRule>> rulesOfEveryKind() {
    DateRule date;
    date.format = "d MMM yy";
    return {
        {"name", NameRule(NameRule::Mode::fixed, "santa-cruz")},
        {"segment", SegmentRule()},
        {"replace", ReplaceRule({{"IMG_", "photo-", true}, {" ", "-", true}, {"_", "-", false}}, false)},
        {"regex", RegexRule("^IMG_(\\d+)", "photo-$1", false)},
        {"regex-invalid", RegexRule("^IMG_(\\d+", "photo-$1", false)},
        {"remove", RemoveRule(4, 0, "()[]", true)},
        {"add", AffixRule("2024_", "-", 4, "_v2")},
        {"counter", CounterRule(CounterRule::Position::replace, 1, 1, 3, "-")},
        {"date", date},
        {"folder", FolderRule()},
        {"template", TemplateRule()},
        {"case", CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::lower)},
    };
}

// Types into a field as the keyboard would.
void type(QWidget* field, const QString& text) {
    field->setFocus();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QApplication::sendEvent(field, &press);
    }
}

// The rule panel with a collapsed rule (showing its running result) above
// the expanded card of each kind, for the selected camera file.
bool saveRuleCards(MainWindow& window, const QString& folder, const QString& output, const char* suffix) {
    bool ok = true;
    window.model().setSelectedID(QDir(folder).filePath("IMG_0001.JPG").toStdString());
    int number = 8;
    for (const auto& [name, rule] : rulesOfEveryKind()) {
        window.model().setRules(
            {RuleEntry::make(CaseRule(CaseRule::Mode::same, CaseRule::ExtensionMode::lower), true, false),
             RuleEntry::make(rule)});
        waitFor([&] { return window.model().ruleFigures().back().result.has_value(); });
        settle(250);
        if (std::string_view(name) == "remove") {
            // A number field given something that is no number.
            for (QLineEdit* field : window.rulePanel()->findChildren<QLineEdit*>()) {
                if (field->accessibleName() == "Last") {
                    field->selectAll();
                    type(field, "two");
                }
            }
            settle(100);
        }
        const QString file = QString("%1-card-%2%3").arg(number++, 2, 10, QChar('0')).arg(name, suffix);
        ok &= save(window.rulePanel()->grab(), output, qPrintable(file));
    }
    return ok;
}

void showPreview(MainWindow& window, const QString& folder) {
    window.model().setRules(cleaningRules());
    window.model().openFolder(folder.toStdString());
    waitFor([&] { return !window.model().loading() && window.model().rowCount() > 0; });
    settle(300);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("screenshots");
    QDir().mkpath(output);
    LaunchOptions::offer({});
    IsolatedDesktop desktop;
    AppSettings& settings = *desktop.settings;
    DesktopApp& app = *desktop.app;
    const QString folder = makeSampleFolder(desktop.root);
    bool ok = true;

    MainWindow* window = app.newWindow();
    window->resize(1280, 760);
    settle();
    ok &= save(window->grab(), output, "01-empty-window");

    showPreview(*window, folder);
    ok &= save(window->grab(), output, "02-preview-conflicts-highlighting");

    const RuleEntry list = RuleEntry::make(ReplaceRule(
        {{"IMG_", "santa-cruz-", true}, {"copy", "", true}, {"final", "v2", true}, {"zzz", "x", false}},
        false));
    window->model().setRules({list});
    window->model().setListEditingRule(list.id);
    waitFor([&] { return window->findChild<QDialog*>("listEditor") != nullptr; });
    settle(300);
    if (auto* sheet = window->findChild<QDialog*>("listEditor")) {
        ok &= save(withSheet(window, sheet), output, "03-pair-list-editor");
        sheet->reject();
    }
    settle();

    app.showSettings();
    settle();
    ok &= save(app.settingsWindow()->grab(), output, "04-settings");
    app.settingsWindow()->close();

    window->model().setShowWelcome(true);
    waitFor([&] { return window->findChild<QDialog*>("welcome") != nullptr; });
    settle();
    if (auto* sheet = window->findChild<QDialog*>("welcome")) {
        ok &= save(withSheet(window, sheet), output, "05-welcome");
        sheet->reject();
    }
    settle();

    ok &= saveRuleCards(*window, folder, output, "");

    settings.setAppearance(AppearanceChoice::dark);
    showPreview(*window, folder);
    window->model().setChecked(QDir(folder).filePath("Résumé 2024.pdf").toStdString(), false);
    settle(300);
    ok &= save(window->grab(), output, "06-preview-dark");
    app.showSettings();
    settle();
    ok &= save(app.settingsWindow()->grab(), output, "07-settings-dark");
    app.settingsWindow()->close();
    ok &= saveRuleCards(*window, folder, output, "-dark");
    settings.setAppearance(AppearanceChoice::system);
    app.quit();
    return ok ? 0 : 1;
}
