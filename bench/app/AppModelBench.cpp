// The window model's responsiveness at 100,000 and 1,000,000 items, headless:
// what a rule edit costs the main thread, how long until the new preview is
// published, that a burst of edits costs one finished computation, and the
// peak memory against the items and one plan alone. Each scenario runs in a
// child process of its own, so its peak memory is its own.
//
//   morvane_appmodel_bench [counts...]     (default: 100000 1000000)
#include "../BenchClock.h"
#include "../BenchItems.h"
#include "Heartbeat.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/rules/CaseRule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;
using namespace morvane::app;
using morvane::bench::Clock;
using morvane::bench::milliseconds;

namespace {

// The process's peak resident memory, in MiB.
double peakMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// Items as a folder scan delivers them: in name order.
ItemList items(std::size_t count) {
    ItemList list = bench::cameraItems(count);
    ItemOrder{}.sort(list);
    return list;
}

RuleEntry replacing(const std::string& with) {
    return RuleEntry::make(ReplaceRule("IMG_", with, false));
}

struct Counters {
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
};

// Runs the event loop until the model publishes a plan (or 60 s pass), and
// measures the longest time the main thread did not get round to a 1 ms
// heartbeat meanwhile.
struct Watch {
    double publishedAfterMs = -1;
    double longestStallMs = 0;
};

Watch runUntilPublished(AppModel& model, Clock::time_point from) {
    Watch watch;
    QEventLoop loop;
    const morvane::bench::Heartbeat heartbeat;
    QObject::connect(&model.preview(), &WindowPreview::planChanged, &loop, [&] {
        watch.publishedAfterMs = milliseconds(Clock::now() - from);
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    watch.longestStallMs = heartbeat.longestStallMs();
    return watch;
}

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A model over Replace + Case rules and `count` items, its first plan published.
struct Setup {
    int argc = 1;
    char name[6] = "bench";
    char* argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    QTemporaryDir folder;
    AppSettings settings{std::make_unique<QSettings>(folder.filePath("s.ini"), QSettings::IniFormat),
                         std::vector<std::string>{"en"}};
    std::unique_ptr<AppModel> model;

    Setup(std::size_t count, Planner planner) {
        LaunchOptions::offer({});
        AppModel::Environment environment;
        environment.settings = &settings;
        environment.access = std::make_shared<FolderAccess>(std::make_shared<InMemoryFileSystem>(true));
        environment.presetDirectory = folder.path().toStdString();
        environment.planner = std::move(planner);
        model = std::make_unique<AppModel>(environment);
        model->rules().setRules({replacing("a-"), RuleEntry::make(CaseRule(CaseRule::Mode::lower,
                                                                           CaseRule::ExtensionMode::same))});
        model->items().setItems(items(count));
        runUntilPublished(*model, Clock::now());
    }
};

int responsiveness(std::size_t count) {
    auto counters = std::make_shared<Counters>();
    const Planner real = pipelinePlanner();
    Setup setup(count,
                [counters, real](const RenamePipeline& pipeline, const ItemList& list, std::stop_token stop) {
                    ++counters->started;
                    auto plan = real(pipeline, list, stop);
                    if (plan) {
                        ++counters->finished;
                    }
                    return plan;
                });
    AppModel& model = *setup.model;
    const Uuid id = model.rules().entries()[0].id;

    // Single edits: the edit itself, the longest main-thread stall until the
    // plan is published, and the time from the edit to publication.
    double editMax = 0, stallMax = 0, latencySum = 0, latencyMax = 0;
    const int rounds = 5;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        model.rules().setRule(id, ReplaceRule("IMG_", "edit" + std::to_string(round) + "-", false));
        editMax = std::max(editMax, milliseconds(Clock::now() - start));
        const Watch watch = runUntilPublished(model, start);
        stallMax = std::max(stallMax, watch.longestStallMs);
        latencySum += watch.publishedAfterMs;
        latencyMax = std::max(latencyMax, watch.publishedAfterMs);
        spin(50);
    }

    // A burst: ten edits 5 ms apart, as typed.
    const int startedBefore = counters->started, finishedBefore = counters->finished;
    Clock::time_point last;
    for (int edit = 0; edit < 10; ++edit) {
        last = Clock::now();
        model.rules().setRule(id, ReplaceRule("IMG_", "burst" + std::to_string(edit) + "-", false));
        if (edit < 9) {
            spin(5);
        }
    }
    const Watch burst = runUntilPublished(model, last);
    spin(200);
    std::printf(
        "%9zu items | edit call max %6.3f ms | main-thread stall max %6.2f ms | edit to published "
        "mean %7.1f ms, max %7.1f ms | burst of 10: %d started, %d finished, published %6.1f ms after "
        "the last edit\n",
        count, editMax, stallMax, latencySum / rounds, latencyMax, counters->started - startedBefore,
        counters->finished - finishedBefore, burst.publishedAfterMs);
    return 0;
}

// Peak memory of the items and one plan alone.
int baselineMemory(std::size_t count) {
    const ItemList list = items(count);
    const RenamePipeline pipeline({makeStep(ReplaceRule("IMG_", "a-", false)),
                                   makeStep(CaseRule(CaseRule::Mode::lower, CaseRule::ExtensionMode::same))});
    const auto start = Clock::now();
    const RenamePlan plan = pipeline.plan(list);
    const double planMs = milliseconds(Clock::now() - start);
    std::printf("%9zu items | items and one plan alone: peak %7.0f MiB | the plan alone takes %7.1f ms\n",
                count, peakMiB(), planMs);
    return plan.entries.size() == list.size() ? 0 : 1;
}

// Peak memory of a model through a burst of edits and the plans they publish.
int modelMemory(std::size_t count) {
    Setup setup(count, {});
    AppModel& model = *setup.model;
    const Uuid id = model.rules().entries()[0].id;
    for (int round = 0; round < 3; ++round) {
        model.rules().setRule(id, ReplaceRule("IMG_", "m" + std::to_string(round) + "-", false));
        runUntilPublished(model, Clock::now());
    }
    spin(500); // the replaced plans are freed on a worker
    std::printf("%9zu items | model after edits: peak %7.0f MiB\n", count, peakMiB());
    return 0;
}

int inChild(int (*scenario)(std::size_t), std::size_t count) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const int status = scenario(count);
        std::fflush(stdout);
        std::_Exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::stoul(argv[i]));
    }
    if (counts.empty()) {
        counts = {100000, 1000000};
    }
    int failures = 0;
    for (const std::size_t count : counts) {
        failures += inChild(responsiveness, count);
        failures += inChild(baselineMemory, count);
        failures += inChild(modelMemory, count);
    }
    return failures == 0 ? 0 : 1;
}
