// The window reading a large tree with its subfolders, on the offscreen
// platform: a tree of 500,000 entries (real folders and empty files, kept
// between runs under the benchmarks' data folder) opened with "Include
// Subfolders" on.
//
// - from the open to the first table drawn with rows, and to the preview of
//   every item published;
// - the main thread's longest stall meanwhile, as a 1 ms timer on it sees
//   it (a window that is not drawn for longer looks stuck);
// - the same read stopped after half a second: from Stop to the rows read
//   so far drawn, and the longest stall.
//
//   QT_QPA_PLATFORM=offscreen morvane_subfolder_bench [entries]   (default 500000)
#include "../BenchClock.h"
#include "../BenchFolders.h"
#include "Heartbeat.h"
#include "app/desktop/DesktopApp.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"
#include "app/model/ScanChoices.h"

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

using namespace morvane;
using namespace morvane::app;
using bench::Clock;
using bench::milliseconds;

namespace {

// `entries` entries in all: folders of 250 files, fifty folders to a parent,
// the parents in the root. Made once under another name and renamed into
// place, so an interrupted run never leaves a short tree.
std::string treeFolder(std::size_t entries) {
    namespace fs = std::filesystem;
    const fs::path tree = bench::dataFolder() / ("tree-" + std::to_string(entries));
    if (fs::is_directory(tree)) {
        return tree.string();
    }
    const fs::path partial = bench::dataFolder() / ("tree-" + std::to_string(entries) + ".partial-" +
                                                    std::to_string(static_cast<long>(::getpid())));
    fs::remove_all(partial);
    constexpr std::size_t filesPerFolder = 250;
    constexpr std::size_t foldersPerParent = 50;
    std::size_t made = 0;
    for (std::size_t parent = 0; made < entries; ++parent) {
        const fs::path top = partial / bench::numberedName("Year ", parent, "");
        fs::create_directories(top);
        ++made;
        for (std::size_t folder = 0; folder < foldersPerParent && made < entries; ++folder) {
            const fs::path inner = top / bench::numberedName("Trip ", folder, "");
            fs::create_directory(inner);
            ++made;
            for (std::size_t file = 0; file < filesPerFolder && made < entries; ++file, ++made) {
                std::ofstream(inner / bench::numberedName("IMG_", file));
            }
        }
    }
    fs::rename(partial, tree);
    return tree.string();
}

// Notes when the table is first drawn with rows.
class FirstDraw final : public QObject {
public:
    explicit FirstDraw(AppModel& model) : model_(model) {}
    std::optional<Clock::time_point> at;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !at && model_.preview().rowCount() > 0) {
            at = Clock::now();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AppModel& model_;
};

template <typename Condition>
bool runUntil(Condition condition, int ms = 300000) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!condition() && Clock::now() < end) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return condition();
}

void runFor(int ms) {
    runUntil([] { return false; }, ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::size_t entries = argc > 1 ? std::stoul(argv[1]) : 500000;
    std::printf("making or finding the tree of %zu entries…\n", entries);
    std::fflush(stdout);
    const std::string tree = treeFolder(entries);

    LaunchOptions::offer({});
    IsolatedDesktop isolated;
    isolated.settings->setScanOptions(ScanChoices::toggled(ScanOptions(), "includeSubfolders"));
    MainWindow* window = isolated.app->newWindow();
    window->resize(1280, 800);
    runFor(300);
    AppModel& model = window->model();
    // Between rounds the window shows an empty folder, so each read starts from nothing.
    const QTemporaryDir emptyFolder;
    const std::string empty = emptyFolder.path().toStdString();

    for (int round = 0; round < 2; ++round) {
        FirstDraw firstDraw(model);
        window->table()->viewport()->installEventFilter(&firstDraw);
        // The first round reads a cold tree as far as this process goes; the
        // second is what the page cache makes of it.
        model.items().openFolder(empty);
        runUntil([&] { return !model.items().loading(); });
        runFor(300);
        std::optional<bench::Heartbeat> heartbeat(std::in_place);
        const auto opened = Clock::now();
        model.items().openFolder(tree);
        if (!runUntil([&] { return firstDraw.at.has_value(); })) {
            std::fprintf(stderr, "the table was never drawn with rows\n");
            return 1;
        }
        runUntil([&] { return model.preview().isOfItems(model.items().version()); });
        const auto planned = Clock::now();
        runFor(500);
        std::printf("%s read: %zu items; first drawn rows %.0f ms, preview of all published %.0f ms; longest "
                    "main-thread stall %.1f ms\n",
                    round == 0 ? "first" : "second", model.items().list().size(),
                    milliseconds(*firstDraw.at - opened), milliseconds(planned - opened),
                    heartbeat->longestStallMs());
        window->table()->viewport()->removeEventFilter(&firstDraw);
    }

    // Stopped half a second into the read.
    model.items().openFolder(empty);
    runUntil([&] { return !model.items().loading(); });
    runFor(300);
    FirstDraw firstDraw(model);
    window->table()->viewport()->installEventFilter(&firstDraw);
    std::optional<bench::Heartbeat> heartbeat(std::in_place);
    model.items().openFolder(tree);
    runFor(500);
    const std::size_t counted = model.items().loadProgress().items;
    const auto stopped = Clock::now();
    model.items().stopLoading();
    if (!runUntil([&] { return firstDraw.at.has_value(); })) {
        std::fprintf(stderr, "the stopped read was never drawn\n");
        return 1;
    }
    std::printf("stopped after 500 ms (%zu items counted then): %zu items kept, drawn %.0f ms after Stop; "
                "longest main-thread stall %.1f ms\n",
                counted, model.items().list().size(), milliseconds(*firstDraw.at - stopped),
                heartbeat->longestStallMs());
    window->table()->viewport()->removeEventFilter(&firstDraw);
    isolated.app->quit();
    return 0;
}
