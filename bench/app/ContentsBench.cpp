// What reading files' contents costs the window, on the offscreen platform,
// over folders the benchmark makes (kept between runs):
//
// - opening a folder of photos with the rules a window starts with: the time
//   to the first published preview, and what the process read from files
//   meanwhile (nothing, as no rule reads the photos);
// - the same folder under a capture-date rule: the preview after reading
//   every photo's metadata, then after another format (nothing read again);
// - typing into a Template rule over as many tagged MP3 files, their tags
//   read before: each key's main-thread work (per event, by the wall clock
//   and in processor time) until its preview is published, and what was
//   read meanwhile.
//
//   QT_QPA_PLATFORM=offscreen morvane_contents_bench [count]   (default 10000)
#include "../BenchMedia.h"
#include "EventTiming.h"
#include "app/desktop/DesktopApp.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/model/LaunchOptions.h"
#include "engine/presets/AnyRule.h"
#include "engine/presets/RuleCatalog.h"

#include <nlohmann/json.hpp>

#include <QKeyEvent>
#include <QLineEdit>
#include <fstream>

using namespace morvane;
using namespace morvane::app;
using namespace morvane::bench;

namespace {

// What the process has read so far: read calls and bytes (/proc/self/io).
struct Reads {
    long long calls = 0;
    long long bytes = 0;

    static Reads now() {
        Reads reads;
        std::ifstream io("/proc/self/io");
        std::string key;
        long long value = 0;
        while (io >> key >> value) {
            if (key == "syscr:") {
                reads.calls = value;
            } else if (key == "rchar:") {
                reads.bytes = value;
            }
        }
        return reads;
    }
    Reads operator-(const Reads& before) const { return {calls - before.calls, bytes - before.bytes}; }
};

// Runs the window until the preview of `count` items is published after `act`.
double previewAfter(AppModel& model, std::size_t count, const std::function<void()>& act, Reads& read) {
    int published = 0;
    const auto connection =
        QObject::connect(&model.preview(), &WindowPreview::planChanged, [&] { ++published; });
    const Reads before = Reads::now();
    const auto start = Clock::now();
    act();
    runUntil(
        [&] {
            return published > 0 && !model.items().loading() &&
                   model.preview().plan().entries.size() == count;
        },
        120000);
    const double elapsed = milliseconds(Clock::now() - start);
    read = Reads::now() - before;
    QObject::disconnect(connection);
    return elapsed;
}

void printPreview(const char* what, double ms, const Reads& read) {
    std::printf("%-58s %7.0f ms to the preview; read meanwhile: %lld calls, %.1f MiB\n", what, ms, read.calls,
                static_cast<double>(read.bytes) / (1024.0 * 1024.0));
}

// A Date rule by capture date, built from its stored form so that a version
// without that source says so rather than failing to build.
std::optional<AnyRule> captureDateRule(const char* format) {
    try {
        const nlohmann::json settings{{"source", "taken"}, {"format", format}, {"separator", "_"}};
        return anyRule(*RuleCatalog::rule(RuleKind::date, RuleParameters(settings)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

QLineEdit* ruleField(MainWindow& window, const char* name) {
    for (QLineEdit* candidate : window.rulePanel()->findChildren<QLineEdit*>()) {
        if (candidate->accessibleName() == name && candidate->isVisibleTo(&window)) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TimedApplication application(argc, argv);
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 10000;
    const std::string photos = jpegFolder(count);
    const std::string songs = songFolder(count);
    // Warm: the figures are the program's, not the disk's.
    for (const std::string& folder : {photos, songs}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            (void)fileBytes(entry.path()).size();
        }
    }

    LaunchOptions::offer({});
    IsolatedDesktop isolated;
    MainWindow* window = isolated.app->newWindow();
    window->resize(1280, 800);
    runFor(300);
    AppModel& model = window->model();
    std::printf(
        "%zu photos of %zu KiB (metadata and pixels), %zu tagged MP3s\n", count,
        static_cast<std::size_t>(std::filesystem::file_size(photos + "/" + numberedName("IMG_", 1)) / 1024),
        count);

    Reads read;
    double ms = previewAfter(
        model, count, [&] { model.items().openFolder(photos); }, read);
    printPreview("opening the photos, with the window's first rules:", ms, read);

    if (const auto byDate = captureDateRule("yyyy-MM-dd")) {
        const Uuid id = model.rules().entries().front().id;
        ms = previewAfter(
            model, count, [&] { model.rules().setRule(id, *byDate); }, read);
        printPreview("a capture-date rule over them (every photo read):", ms, read);
        ms = previewAfter(
            model, count, [&] { model.rules().setRule(id, *captureDateRule("yyyyMMdd_HHmmss")); }, read);
        printPreview("another format (nothing read again):", ms, read);
    } else {
        std::printf("no capture-date source in this version\n");
    }

    model.rules().setRules({RuleEntry::make(TemplateRule("{track:00} {artist} - {title}", std::nullopt))});
    ms = previewAfter(
        model, count, [&] { model.items().openFolder(songs); }, read);
    printPreview("opening the songs under a Template rule of their tags:", ms, read);
    runFor(500);

    QLineEdit* field = ruleField(*window, "Template");
    if (field == nullptr) {
        std::fprintf(stderr, "no Template field\n");
        return 1;
    }
    field->setFocus();
    field->end(false);
    int published = 0;
    QObject::connect(&model.preview(), &WindowPreview::planChanged, [&] { ++published; });
    Figures typing;
    const Reads before = Reads::now();
    for (const QChar character : QString(" ({album}, {year})")) {
        application.clear();
        const int previews = published;
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
        QApplication::processEvents();
        typing.steps.push_back(milliseconds(Clock::now() - start));
        runUntil([&] { return published > previews; }, 10000);
        runFor(50);
        typing.collect(application);
    }
    const Reads typed = Reads::now() - before;
    std::printf("typed %zu keys into the Template field: %d previews published, the last \"%s\"; "
                "read meanwhile: %lld calls, %.1f MiB\n",
                typing.steps.size(), published, model.preview().plan().entries.front().newName.c_str(),
                typed.calls, static_cast<double>(typed.bytes) / (1024.0 * 1024.0));
    report("typing in the Template field", typing);
    isolated.app->quit();
    return 0;
}
