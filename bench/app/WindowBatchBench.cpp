#include "WindowBatchBench.h"

#include "../BenchClock.h"
#include "app/desktop/Commands.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/ResultBannerView.h"
#include "app/desktop/SheetBinding.h"
#include "app/model/AppModel.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

namespace morvane::app {
namespace {

using bench::Clock;
using bench::milliseconds;

// Waits for events as the application's own loop does, rather than polling,
// which would take a core from the batch's threads on a two-core machine.
template <typename Condition>
bool runUntil(Condition condition, int ms = 120000) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(ms);
    while (!condition() && deadline.isActive()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return condition();
}

void settle(int ms) {
    QTimer pause;
    pause.setSingleShot(true);
    pause.start(ms);
    while (pause.isActive()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// The process's resident memory now and at its highest so far, in MB.
struct Memory {
    double resident = 0;
    double peak = 0;
};

Memory memoryNow() {
    Memory memory;
    std::ifstream status("/proc/self/status");
    std::string key;
    double kilobytes = 0;
    std::string unit;
    while (status >> key) {
        if (key == "VmRSS:" && status >> kilobytes >> unit) {
            memory.resident = kilobytes / 1024;
        } else if (key == "VmHWM:" && status >> kilobytes >> unit) {
            memory.peak = kilobytes / 1024;
        }
    }
    return memory;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Every item shows the name the batch gave it (or took back), the preview of
// the folder as read again is published, and the banner says so.
bool refreshed(MainWindow& window, const char* prefix, bool renamed) {
    AppModel& model = window.model();
    const auto& entries = model.preview().plan().entries;
    return !model.batches().busy() && !model.items().loading() &&
           model.preview().isOfItems(model.items().version()) && !entries.empty() &&
           entries.front().item.name.starts_with(prefix) && entries.back().item.name.starts_with(prefix) &&
           (model.batches().lastTransaction() != nullptr) == renamed &&
           window.resultBanner()->isVisible() == renamed;
}

// Where a batch's time in the window goes, in ms from the click: the batch
// over, the folder read again, its preview published, the result drawn.
struct Phases {
    double batch = 0;
    double read = 0;
    double planned = 0;
    double total = 0;
};

// Clicks `button` and waits for the window to show the batch's result.
std::optional<Phases> timeWindowBatch(MainWindow& window, QPushButton& button, const char* prefix,
                                      bool renamed) {
    AppModel& model = window.model();
    Phases phases;
    const auto start = Clock::now();
    const auto since = [&] { return milliseconds(Clock::now() - start); };
    QObject context;
    QObject::connect(&model.batches(), &WindowBatches::busyChanged, &context, [&] {
        if (!model.batches().busy()) {
            phases.batch = since();
        }
    });
    QObject::connect(&model.items(), &WindowItems::loadingChanged, &context, [&] {
        if (!model.items().loading()) {
            phases.read = since();
        }
    });
    QObject::connect(&model.preview(), &WindowPreview::planChanged, &context, [&] {
        if (model.preview().isOfItems(model.items().version())) {
            phases.planned = since();
        }
    });
    button.click();
    if (!runUntil([&] { return refreshed(window, prefix, renamed); })) {
        return std::nullopt;
    }
    QApplication::processEvents(); // the table and the banner drawn
    phases.total = since();
    return phases;
}

// One whole command line run, in ms; negative when it failed.
double timeCli(const std::string& cli, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto start = Clock::now();
    process.start(QString::fromStdString(cli), arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return -1;
    }
    process.readAllStandardOutput();
    return milliseconds(Clock::now() - start);
}

} // namespace

bool timeWindowBatches(MainWindow& window, const std::string& folder, const std::string& cli, int rounds) {
    AppModel& model = window.model();
    model.rules().setRules({RuleEntry::make(ReplaceRule("IMG_", "x-", false))});
    if (!runUntil([&] { return model.batches().confirmationSheet("").canRename; })) {
        std::fprintf(stderr, "the folder's preview never offered to rename\n");
        return false;
    }
    settle(500);
    const Memory before = memoryNow();
    std::vector<Phases> windowRename, windowUndo;
    std::vector<double> cliRename, cliUndo;
    std::vector<Memory> afterRename, afterUndo;
    QTemporaryDir cliHistory;
    const QString history = cliHistory.path();
    for (int round = 0; round < rounds; ++round) {
        // The window: Rename, the sheet's button, until the banner and the renamed table are there.
        if (!runUntil([&] { return model.batches().confirmationSheet("").canRename; })) {
            std::fprintf(stderr, "the folder's preview never offered to rename\n");
            return false;
        }
        window.commands().action("rename")->trigger();
        auto* sheet = qobject_cast<RenameSheet*>(window.renameBinding()->dialog());
        if (sheet == nullptr || !runUntil([&] { return sheet->isVisible(); })) {
            std::fprintf(stderr, "the confirmation sheet did not open\n");
            return false;
        }
        QApplication::processEvents();
        const auto renamed = timeWindowBatch(window, *sheet->renameButton(), "x-", true);
        if (!renamed) {
            std::fprintf(stderr, "the window's rename never showed its result\n");
            return false;
        }
        windowRename.push_back(*renamed);
        settle(300);
        afterRename.push_back(memoryNow());

        // Undo Rename in the banner, until the table shows the names back.
        const auto undone = timeWindowBatch(window, *window.resultBanner()->undoButton(), "IMG_", false);
        if (!undone) {
            std::fprintf(stderr, "the window's undo never showed its result\n");
            return false;
        }
        windowUndo.push_back(*undone);
        settle(300);
        afterUndo.push_back(memoryNow());

        // The command line on the same folder, at once after.
        QDir(history).removeRecursively();
        QDir().mkpath(history);
        const QString path = QString::fromStdString(folder);
        const double cliRenamed =
            timeCli(cli, {"rename", "--history-dir", history, "--replace", "IMG_=x-", path});
        const double cliUndone = timeCli(cli, {"undo", "--history-dir", history});
        if (cliRenamed < 0 || cliUndone < 0) {
            std::fprintf(stderr, "morvane-cli failed on %s\n", folder.c_str());
            return false;
        }
        cliRename.push_back(cliRenamed);
        cliUndo.push_back(cliUndone);
    }

    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    // The median of one figure over the rounds.
    const auto of = [](const std::vector<Phases>& all, double Phases::*figure) {
        std::vector<double> values;
        for (const Phases& phases : all) {
            values.push_back(phases.*figure);
        }
        return median(values);
    };
    std::printf("renaming every item, %d rounds of the window then morvane-cli (medians):\n", rounds);
    const auto line = [&](const char* what, const std::vector<Phases>& inWindow,
                          const std::vector<double>& byCli) {
        const double total = of(inWindow, &Phases::total);
        std::printf("  %-6s window %6.0f ms, morvane-cli %6.0f ms: %.2fx  (window: batch over at %.0f, "
                    "folder read at %.0f, preview at %.0f ms)\n",
                    what, total, median(byCli), ratio(total, median(byCli)), of(inWindow, &Phases::batch),
                    of(inWindow, &Phases::read), of(inWindow, &Phases::planned));
    };
    line("rename", windowRename, cliRename);
    line("undo", windowUndo, cliUndo);
    const auto residents = [](const std::vector<Memory>& all) {
        std::vector<double> values;
        for (const Memory& memory : all) {
            values.push_back(memory.resident);
        }
        return values;
    };
    const double renamedMb = median(residents(afterRename));
    const double undoneMb = median(residents(afterUndo));
    std::printf(
        "  memory: before the first batch %.0f MB, after rename %.0f MB (%+.0f%%), after undo %.0f MB "
        "(%+.0f%%); peak %.0f MB\n",
        before.resident, renamedMb, (ratio(renamedMb, before.resident) - 1) * 100, undoneMb,
        (ratio(undoneMb, before.resident) - 1) * 100, memoryNow().peak);
    std::printf("  memory round by round (after rename / after undo, MB):");
    for (std::size_t round = 0; round < afterRename.size(); ++round) {
        std::printf(" %.0f/%.0f", afterRename[round].resident, afterUndo[round].resident);
    }
    std::printf("\n");
    return true;
}

} // namespace morvane::app
