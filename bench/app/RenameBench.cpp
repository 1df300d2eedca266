// Renaming a real folder through the window model, as a user does: open the
// folder, wait for the preview, confirm, wait until the batch is over. A
// 1 ms heartbeat on the main thread measures the longest time the window
// would not have responded, while the batch ran and over the whole process.
// bench/app/rename-vs-cli times this process against `morvane-cli rename`
// of the same batch.
//
//   morvane_rename_bench FOLDER HISTORY FIND REPLACEMENT
//
// Prints "<renamed> items | rename <ms> ms | main-thread stall max <ms> ms
// while renaming, <ms> ms in all"; exits at once when the batch is over, as
// the command line does, without waiting for the window's refresh. With a
// FIND that renames nothing it exits once the preview is ready: the cost of
// everything but the batch.
#include "Heartbeat.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

using namespace morvane;
using namespace morvane::app;
using morvane::bench::Clock;
using morvane::bench::milliseconds;

namespace {

// Runs the event loop until `done` holds (checked after every batch of events), or 10 minutes pass.
template <typename Done>
bool runUntil(Done done) {
    const auto limit = Clock::now() + std::chrono::minutes(10);
    while (!done()) {
        if (Clock::now() > limit) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: morvane_rename_bench FOLDER HISTORY FIND REPLACEMENT\n");
        return 2;
    }
    QCoreApplication application(argc, argv);
    QTemporaryDir scratch;
    AppSettings settings(std::make_unique<QSettings>(scratch.filePath("s.ini"), QSettings::IniFormat),
                         std::vector<std::string>{"en"});
    LaunchOptions::offer({});
    AppModel::Environment environment;
    environment.settings = &settings;
    environment.presetDirectory = scratch.path().toStdString();
    environment.historyDirectory = argv[2];
    AppModel model(environment);

    const morvane::bench::Heartbeat all;

    model.rules().setRules({RuleEntry::make(ReplaceRule(argv[3], argv[4], false))});
    model.items().openFolder(argv[1]);
    // The preview of the folder is ready: with something to rename, or with nothing at all.
    const bool ready = runUntil([&] {
        return model.batches().confirmationSheet("").canRename ||
               (!model.items().loading() && !model.preview().plan().entries.empty() &&
                model.preview().summary().toRename == 0);
    });
    if (!ready || !model.batches().confirmationSheet("").canRename) {
        std::printf("0 items | nothing to rename\n");
        std::fflush(stdout);
        std::_Exit(ready ? 0 : 1);
    }
    const auto start = Clock::now();
    const morvane::bench::Heartbeat renaming;
    model.batches().performRename();
    runUntil([&] { return !model.batches().busy(); });
    const double stallRenaming = renaming.longestStallMs();
    const double renameMs = milliseconds(Clock::now() - start);
    const std::size_t renamed =
        model.batches().lastTransaction() ? model.batches().lastTransaction()->appliedCount() : 0;
    std::printf("%zu items | rename %.1f ms | main-thread stall max %.1f ms while renaming, %.1f ms in all\n",
                renamed, renameMs, stallRenaming, all.longestStallMs());
    std::fflush(stdout);
    std::_Exit(renamed > 0 ? 0 : 1);
}
