// Renders the main states of the window offscreen into PNG files, for
// reviewing the look without a desktop:
//
//   QT_QPA_PLATFORM=offscreen morvane_screenshots [--language=CODE] OUTPUT-FOLDER
//
// "--language" shows the window in one of the interface languages (English
// by default), for checking that translated texts fit.
//
// Nothing of the user's is touched: settings, presets and history live in a
// temporary folder, and the items are files made there.
#include "app/desktop/DesktopApp.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/PresetSaveSheet.h"
#include "app/desktop/RecoveryBar.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/SettingsWindow.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/UiText.h"
#include "app/desktop/tools/InterruptedBatch.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/desktop/tools/SamplePhoto.h"
#include "app/desktop/tools/SubfolderShots.h"
#include "app/model/AppLanguage.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/presets/FactoryPresets.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

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
// that collide once cleaned, letter-case changes. The cameras' files are
// photos with the camera and the moment they were taken in their metadata.
QString makeSampleFolder(const QTemporaryDir& root) {
    const QString folder = root.filePath("Trip to Santa Cruz");
    QDir().mkpath(folder);
    const struct {
        const char* make;
        const char* model;
        const char* taken;
    } cameras[] = {{"Canon", "Canon EOS R6", "2024:07:14 09:12:33"},
                   {"Canon", "Canon EOS R6", "2024:07:14 09:14:02"},
                   {"Canon", "Canon EOS R6", "2024:07:14 11:40:17"},
                   {"Canon", "Canon EOS R6", "2024:07:15 18:03:51"},
                   {"Canon", "Canon EOS R6", "2024:07:15 18:03:51"},
                   {"NIKON CORPORATION", "NIKON Z 6", "2024:07:16 07:58:09"}};
    const char* names[] = {"IMG_0001.JPG",       "IMG_0002.JPG",      "IMG_0003.JPG",
                           "IMG_0010.JPG",       "IMG_0011.JPG",      "DSC_0042.jpg",
                           "Holiday Photo.JPG",  "holiday_photo.jpg", "README.TXT",
                           "Notes  (draft).txt", "Résumé 2024.pdf",   "beach panorama final.png"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(names[i]));
        const auto size = std::strlen(names[i]) * 731;
        if (i < std::size(cameras) &&
            writeSamplePhoto(path, cameras[i].make, cameras[i].model, cameras[i].taken, size)) {
            continue;
        }
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(static_cast<int>(size), 'x'));
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
        {"counter", CounterRule(CounterRule::Position::replace, 1, 1, 3, "-", true)},
        {"date", date},
        {"date-taken", DateRule(DateRule::Source::taken, "yyyy-MM-dd HH.mm", DateRule::Position::before, " ",
                                std::nullopt)},
        {"folder", FolderRule()},
        {"template", TemplateRule()},
        {"template-camera", TemplateRule("{taken:yyyyMMdd-HHmmss} {camera}", std::nullopt)},
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
    window.model().items().setSelectedID(QDir(folder).filePath("IMG_0001.JPG").toStdString());
    int number = 20; // after the window's own states
    for (const auto& [name, rule] : rulesOfEveryKind()) {
        window.model().rules().setRules(
            {RuleEntry::make(CaseRule(CaseRule::Mode::same, CaseRule::ExtensionMode::lower), true, false),
             RuleEntry::make(rule)});
        waitFor([&] { return window.model().rules().ruleFigures().back().result.has_value(); });
        settle(250);
        if (std::string_view(name) == "remove") {
            // A number field given something that is no number.
            for (QLineEdit* field : window.rulePanel()->findChildren<QLineEdit*>()) {
                if (field->accessibleName() == ui("Last")) {
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
    window.model().rules().setRules(cleaningRules());
    window.model().items().openFolder(folder.toStdString());
    waitFor([&] { return !window.model().items().loading() && window.model().preview().rowCount() > 0; });
    settle(300);
}

// The local disk, taking a moment per move while asked to: a batch long
// enough to be seen running.
class PacedDisk final : public LocalFileSystem {
public:
    std::atomic<int> millisecondsPerMove = 0;

    void move(const std::string& from, const std::string& to) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(millisecondsPerMove.load()));
        LocalFileSystem::move(from, to);
    }
    // Every move by its whole path, so that each one is paced.
    std::unique_ptr<Folder> folder(const std::string& directory) override {
        return FileSystem::folder(directory);
    }
};

DesktopServices pacedServices(std::shared_ptr<PacedDisk> disk) {
    DesktopServices services;
    services.modelEnvironment.access = std::make_shared<FolderAccess>(std::move(disk));
    return services;
}

RenameSheet* openRenameSheet(MainWindow& window) {
    window.model().batches().openConfirmation();
    waitFor([&] { return window.renameBinding()->dialog() != nullptr; });
    settle(300);
    return qobject_cast<RenameSheet*>(window.renameBinding()->dialog());
}

// A menu of the window's menu bar drawn open under its title.
QPixmap withMenu(MainWindow& window, const char* objectName) {
    QMenuBar* bar = window.menuBar();
    auto* menu = bar->findChild<QMenu*>(objectName);
    bar->setActiveAction(menu->menuAction());
    settle(300);
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    menu->hide();
    bar->setActiveAction(nullptr);
    return picture;
}

// The confirmation with conflicts and without, a batch running, its result,
// its stop and an undo running, and the presets: the menu, the manager and
// the save sheet.
bool shootRenamingAndPresets(MainWindow& window, PacedDisk& disk, const QString& sample,
                             const QString& bigFolder, const QString& output) {
    bool ok = true;
    AppModel& model = window.model();
    showPreview(window, sample);
    if (RenameSheet* sheet = openRenameSheet(window)) {
        ok &= save(withSheet(&window, sheet), output, "08-confirmation-conflicts");
        model.skipConflicting();
        waitFor([&] { return sheet->renameButton()->isEnabled(); });
        settle(200);
        ok &= save(withSheet(&window, sheet), output, "09-confirmation");
        sheet->renameButton()->click();
    }
    waitFor([&] { return !model.batches().showConfirm() && model.batches().lastTransaction() != nullptr; });
    waitFor([&] { return !model.items().loading(); });
    settle(300);
    ok &= save(window.grab(), output, "10-result-banner");
    model.batches().undoLastRename();
    waitFor([&] { return !model.batches().busy(); });

    model.items().openFolder(bigFolder.toStdString());
    waitFor([&] { return model.batches().canOpenConfirmation(); });
    settle(300);
    // The sheet goes once its batch ends: should this one end too soon, there is no picture of it.
    if (QPointer<RenameSheet> sheet = openRenameSheet(window)) {
        disk.millisecondsPerMove = 12;
        sheet->renameButton()->click();
        waitFor(
            [&] { return model.batches().renameProgress() && model.batches().renameProgress()->done > 120; },
            10000);
        settle(100);
        ok &= sheet && save(withSheet(&window, sheet), output, "11-progress");
        model.batches().stopRenaming();
        waitFor([&] { return !model.batches().busy(); }, 20000);
        disk.millisecondsPerMove = 0;
    }
    settle(300);
    ok &= save(window.grab(), output, "12-stopped-banner");
    // An undo runs without a sheet: its progress shows above the table.
    if (RenameSheet* sheet = openRenameSheet(window)) {
        sheet->renameButton()->click();
    }
    waitFor([&] { return !model.batches().busy() && model.batches().lastTransaction() != nullptr; }, 10000);
    waitFor([&] { return !model.items().loading(); });
    disk.millisecondsPerMove = 12;
    model.batches().undoLastRename();
    waitFor([&] { return model.batches().renameProgress() && model.batches().renameProgress()->done > 150; },
            10000);
    settle(100);
    ok &= save(window.grab(), output, "13-undo-progress");
    disk.millisecondsPerMove = 0;
    waitFor([&] { return !model.batches().busy(); }, 20000);
    model.batches().setActionMessage(std::nullopt);

    for (const Preset& preset : {FactoryPresets::cleanFilenames(), FactoryPresets::cameraImport()}) {
        model.presets().setFavorite(preset, true);
    }
    model.rules().setRules(cleaningRules());
    model.presets().saveCurrentRules("Holiday photos");
    model.presets().setPresetMessage(std::nullopt);
    showPreview(window, sample);
    model.presets().setCurrentPreset("Holiday photos");
    settle();
    ok &= save(withMenu(window, "presetsMenu"), output, "14-preset-menu");

    model.presets().setShowPresetManager(true);
    waitFor([&] { return window.presetManagerBinding()->dialog() != nullptr; });
    settle(300);
    if (QDialog* sheet = window.presetManagerBinding()->dialog()) {
        ok &= save(withSheet(&window, sheet), output, "15-preset-manager");
        sheet->reject();
    }
    settle();

    model.presets().setShowSavePreset(true);
    waitFor([&] { return window.savePresetBinding()->dialog() != nullptr; });
    if (auto* sheet = qobject_cast<PresetSaveSheet*>(window.savePresetBinding()->dialog())) {
        sheet->nameField()->setText("holiday photos");
        settle(300);
        ok &= save(withSheet(&window, sheet), output, "16-save-preset");
        sheet->reject();
    }
    settle();
    return ok;
}

// A window opened after a batch was cut short: its offer to put the files
// back, and what putting back said (one file's name was taken meanwhile).
bool shootRecovery(DesktopApp& app, const QTemporaryDir& root, const QString& output) {
    const QString folder = root.filePath("Scanned letters");
    QDir().mkpath(folder);
    for (int number = 1; number <= 8; ++number) {
        QFile file(QDir(folder).filePath(QString("IMG_%1.jpg").arg(number, 4, 10, QChar('0'))));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(number * 4096, 'x'));
    }
    if (!leaveInterruptedBatch(folder.toStdString(), root.filePath("history").toStdString(),
                               RenamePipeline({makeStep(ReplaceRule("IMG_", "letter-", false))}), 5)) {
        std::fprintf(stderr, "morvane_screenshots: the batch to put back could not be made\n");
        return false;
    }
    QFile(QDir(folder).filePath("IMG_0002.jpg")).open(QIODevice::WriteOnly);
    bool ok = true;
    MainWindow* window = app.newWindow();
    window->resize(1280, 760);
    window->model().items().openFolder(folder.toStdString());
    waitFor([&] { return window->recoveryBar()->isVisible() && !window->model().items().loading(); });
    settle(300);
    ok &= save(window->grab(), output, "18-recovery-offer");
    window->recoveryBar()->putBackButton()->click();
    waitFor([&] {
        return !window->model().batches().busy() && window->model().batches().actionMessage().has_value();
    });
    waitFor([&] { return !window->model().items().loading(); });
    settle(300);
    ok &= save(window->grab(), output, "19-recovery-result");
    window->close();
    settle();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString output("screenshots");
    std::vector<std::string> launchOptions;
    for (const QString& argument : application.arguments().mid(1)) {
        if (argument.startsWith("--language=")) {
            if (!AppLanguage::named(argument.mid(11).toStdString())) {
                std::fprintf(stderr, "morvane_screenshots: unknown language \"%s\"\n",
                             qPrintable(argument.mid(11)));
                return 2;
            }
            launchOptions.push_back(argument.toStdString());
        } else {
            output = argument;
        }
    }
    QDir().mkpath(output);
    LaunchOptions::offer(launchOptions);
    auto disk = std::make_shared<PacedDisk>();
    IsolatedDesktop desktop(pacedServices(disk));
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
    window->model().rules().setRules({list});
    window->model().rules().setListEditingRule(list.id);
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

    // Photos named by when they were taken; the files that hold no capture
    // date are marked, and say so in their status's help.
    window->model().rules().setRules({RuleEntry::make(DateRule(
        DateRule::Source::taken, "yyyy-MM-dd HH.mm", DateRule::Position::before, " ", std::nullopt))});
    waitFor([&] { return !window->model().preview().plan().notes.empty(); });
    settle(300);
    ok &= save(window->grab(), output, "34-preview-capture-dates");

    settings.setAppearance(AppearanceChoice::dark);
    showPreview(*window, folder);
    window->model().items().setChecked(QDir(folder).filePath("Résumé 2024.pdf").toStdString(), false);
    settle(300);
    ok &= save(window->grab(), output, "06-preview-dark");
    app.showSettings();
    settle();
    ok &= save(app.settingsWindow()->grab(), output, "07-settings-dark");
    // The appearance choices are radio buttons, unchecked ones included.
    app.settingsWindow()->tabs()->setCurrentIndex(1);
    settle();
    ok &= save(app.settingsWindow()->grab(), output, "07-settings-dark-appearance-page");
    app.settingsWindow()->close();
    ok &= saveRuleCards(*window, folder, output, "-dark");

    settings.setAppearance(AppearanceChoice::light);
    const QString bigFolder = desktop.root.filePath("Scans");
    QDir().mkpath(bigFolder);
    for (int number = 1; number <= 400; ++number) {
        QFile(QDir(bigFolder).filePath(QString("IMG_%1.jpg").arg(number, 4, 10, QChar('0'))))
            .open(QIODevice::WriteOnly);
    }
    ok &= shootRenamingAndPresets(*window, *disk, folder, bigFolder, output);
    ok &= shootRecovery(app, desktop.root, output);
    ok &= shootSubfoldersAndEdits(*window, desktop.root, output);
    settings.setAppearance(AppearanceChoice::dark);
    showPreview(*window, folder);
    if (RenameSheet* sheet = openRenameSheet(*window)) {
        ok &= save(withSheet(window, sheet), output, "17-confirmation-dark");
        sheet->reject();
    }
    // A narrow window: the rule panel and the sidebar give way before the names do.
    settings.setAppearance(AppearanceChoice::light);
    window->resize(900, 760);
    showPreview(*window, folder);
    settle(300);
    ok &= save(window->grab(), output, "35-narrow-window");
    settings.setAppearance(AppearanceChoice::system);
    app.quit();
    return ok ? 0 : 1;
}
