#include "app/desktop/tools/SubfolderShots.h"

#include "app/desktop/MainWindow.h"
#include "app/desktop/ScanCommands.h"
#include "app/model/AppModel.h"
#include "app/model/ScanChoices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

namespace morvane::app {
namespace {

void settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
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

// A trip's photos in a folder per city, some of them straight in the trip's folder.
QString makeTrip(const QTemporaryDir& root) {
    const QString trip = root.filePath("Italy 2024");
    for (const char* path : {"IMG_0100.JPG", "IMG_0101.JPG", "Rome/IMG_0204.JPG", "Rome/IMG_0205.JPG",
                             "Rome/IMG_0207.JPG", "Florence/IMG_0311.JPG", "Florence/IMG_0312.JPG",
                             "Florence/Uffizi/IMG_0350.JPG", "Florence/Uffizi/IMG_0351.JPG"}) {
        const QString file = QDir(trip).filePath(path);
        QDir().mkpath(QFileInfo(file).path());
        QFile made(file);
        made.open(QIODevice::WriteOnly);
        made.write(QByteArray(4096, 'x'));
    }
    return trip;
}

} // namespace

bool shootSubfoldersAndEdits(MainWindow& window, const QTemporaryDir& root, const QString& output) {
    AppModel& model = window.model();
    model.rules().setRules({RuleEntry::make(FolderRule(FolderRule::Position::before, " "), true, false),
                            RuleEntry::make(CounterRule(CounterRule::Position::replace, 1, 1, 2, "", true))});
    model.items().setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
    model.items().openFolder(makeTrip(root).toStdString());
    QElapsedTimer waited;
    waited.start();
    while ((model.items().loading() || model.preview().rowCount() != 9) && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    settle(300);

    bool ok = true;
    QToolButton* button = window.scanCommands()->button();
    QMenu* menu = button->menu();
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    settle(300);
    QPixmap picture = window.grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->hide();
    ok &= save(picture, output, "40-scan-options");

    for (const auto& entry : model.preview().plan().entries) {
        if (entry.item.name == "IMG_0205.JPG") {
            // Left unselected: the selection's colour would hide the edit's mark.
            model.rules().editNewName(entry.item.id, "Rome Colosseum at dusk.JPG");
        }
    }
    settle(400);
    ok &= save(window.grab(), output, "41-edited-name");
    model.rules().useRulesNames();
    model.items().setScanOptions(ScanOptions());
    settle(200);
    return ok;
}

} // namespace morvane::app
