// The window's speed at 100,000 items, on the offscreen platform:
//
// - opening a folder of 100,000 files (a real folder, kept between runs) to
//   the first table drawn with its rows;
// - scrolling the table by the mouse wheel, typing into the filter field and
//   into the fields of rule editors (by the wall clock, and in the main
//   thread's processor time, which a busy machine does not inflate):
//   the main thread's work per event (every event the application delivers,
//   timed where it is delivered), and per step (the input event together with
//   the repaints, timers and published previews that follow it);
// - the confirmation sheet over every item to rename: asking for it to its
//   lines first drawn, and scrolling its lines;
// - renaming every item through the window and undoing it, against the
//   command line on the same folder (see WindowBatchBench.h).
//
//   QT_QPA_PLATFORM=offscreen morvane_desktop_bench [count [batches [rounds]]]
//
// count: 100000 by default. With "batches", only the folder's opening and the
// renaming are timed, over `rounds` rounds (5 by default).
#include "../BenchClock.h"
#include "../BenchFolders.h"
#include "EventTiming.h"
#include "WindowBatchBench.h"
#include "app/desktop/DesktopApp.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/MainWindow.h"
#include "app/desktop/RenameSheet.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/SheetBinding.h"
#include "app/desktop/WindowToolbar.h"
#include "app/desktop/tools/IsolatedDesktop.h"
#include "app/model/AppSettings.h"
#include "app/model/LaunchOptions.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace morvane;
using namespace morvane::app;

namespace {

using bench::Clock;
using bench::Figures;
using bench::milliseconds;
using bench::report;
using bench::runFor;
using bench::runUntil;
using bench::TimedApplication;

// Notes when the table is first drawn with rows.
class FirstDraw final : public QObject {
public:
    FirstDraw(AppModel& model) : model_(model) {}
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

// Scrolls a view as a user does: three rows per wheel notch, down and back
// up, then long jumps of the scroll bar as a drag makes them, each drawing
// rows never drawn before.
Figures scrollThrough(TimedApplication& application, QAbstractScrollArea& view) {
    Figures figures;
    QWidget* viewport = view.viewport();
    const auto step = [&](const std::function<void()>& act) {
        application.clear();
        const auto start = Clock::now();
        act();
        QApplication::processEvents();
        figures.steps.push_back(milliseconds(Clock::now() - start));
        figures.collect(application);
    };
    for (int notch = 0; notch < 300; ++notch) {
        step([&] {
            const QPointF at(100, 100);
            QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, notch < 150 ? -120 : 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        });
    }
    QScrollBar* bar = view.verticalScrollBar();
    for (int jump = 0; jump < 100; ++jump) {
        step([&] { bar->setValue(bar->maximum() * ((jump * 37) % 100) / 100); });
    }
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TimedApplication application(argc, argv);
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 100000;
    const std::string folder = bench::photoFolder(count);

    LaunchOptions::offer({});
    IsolatedDesktop isolated;
    DesktopApp& desktop = *isolated.app;
    MainWindow* window = desktop.newWindow();
    window->resize(1280, 800);
    runFor(300);
    ItemTable& table = *window->table();
    AppModel& model = window->model();

    // Opening to the first drawn table.
    FirstDraw firstDraw(model);
    table.viewport()->installEventFilter(&firstDraw);
    application.clear();
    const auto opened = Clock::now();
    model.items().openFolder(folder);
    if (!runUntil([&] { return firstDraw.at.has_value(); })) {
        std::fprintf(stderr, "the table was never drawn with rows\n");
        return 1;
    }
    std::printf("%zu items: opening the folder to the first drawn table: %.0f ms\n", count,
                milliseconds(*firstDraw.at - opened));
    Figures open;
    open.collect(application);
    report("  main thread while opening", open);
    runFor(300);
    if (argc > 2 && std::string_view(argv[2]) == "batches") {
        const bool timed = timeWindowBatches(*window, folder, MORVANE_CLI, argc > 3 ? std::stoi(argv[3]) : 5);
        desktop.quit();
        return timed ? 0 : 1;
    }

    // Scrolling the table.
    const Figures scrolling = scrollThrough(application, table);
    report("scrolling (wheel and scroll bar)", scrolling);

    // The confirmation sheet: every item is renamed, each a line of its own.
    application.clear();
    const auto asked = Clock::now();
    model.batches().openConfirmation();
    auto* sheet = qobject_cast<RenameSheet*>(window->renameBinding()->dialog());
    if (sheet == nullptr) {
        std::fprintf(stderr, "the confirmation sheet did not open\n");
        return 1;
    }
    FirstDraw sheetDrawn(model);
    sheet->lines()->viewport()->installEventFilter(&sheetDrawn);
    if (!runUntil([&] { return sheetDrawn.at.has_value(); })) {
        std::fprintf(stderr, "the confirmation sheet's lines were never drawn\n");
        return 1;
    }
    std::printf("%d lines: asking for the confirmation sheet to its first drawn lines: %.0f ms\n",
                sheet->lines()->model()->rowCount(), milliseconds(*sheetDrawn.at - asked));
    report("  main thread while opening it", Figures{application.durations, {}, application.cpu});
    runFor(200);
    const Figures sheetScrolling = scrollThrough(application, *sheet->lines());
    report("scrolling the confirmation sheet", sheetScrolling);
    model.batches().closeConfirmation();
    runFor(200);

    // Typing into the filter: each key, then what it sets off until the preview is published.
    Figures typing;
    QLineEdit* filter = window->toolbar()->filterField();
    filter->setFocus();
    for (const QChar character : QString("IMG_0999")) {
        application.clear();
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(filter, &press);
        QApplication::sendEvent(filter, &release);
        QApplication::processEvents();
        typing.steps.push_back(milliseconds(Clock::now() - start));
        // The debounce, the computation on its worker and the publication.
        runFor(400);
        typing.collect(application);
    }
    std::printf("filter \"%s\": %zu rows, %zu filtered out\n", model.items().searchText().c_str(),
                model.preview().rowCount(),
                model.preview().summary().items - model.preview().summary().included);
    report("typing in the filter", typing);

    // Typing into rule editors, over every item: each key with the card
    // refresh it sets off, then the preview published for it (typing slowly
    // enough that every key gets its own).
    model.items().setSearchText("");
    model.rules().setRules({RuleEntry::make(ReplaceRule()), RuleEntry::make(RegexRule("", "", false)),
                            RuleEntry::make(SegmentRule()), RuleEntry::make(CounterRule()),
                            RuleEntry::make(TemplateRule("{name}", {}))});
    int published = 0;
    QObject::connect(&model.preview(), &WindowPreview::planChanged, [&] { ++published; });
    runFor(1500);
    Figures editing;
    const std::pair<const char*, QString> fields[] = {{"Find", "IMG_0"},
                                                      {"Pattern", "^IMG_(\\d+)"},
                                                      {"Delimiter", "-"},
                                                      {"Start", "100"},
                                                      {"Template", "-{counter}"}};
    for (const auto& [name, text] : fields) {
        QLineEdit* field = nullptr;
        for (QLineEdit* candidate : window->rulePanel()->findChildren<QLineEdit*>()) {
            if (candidate->accessibleName() == name && candidate->isVisibleTo(window)) {
                field = candidate;
            }
        }
        if (field == nullptr) {
            std::fprintf(stderr, "no rule field named %s\n", name);
            return 1;
        }
        field->setFocus();
        field->end(false);
        for (const QChar character : text) {
            application.clear();
            const int before = published;
            const auto start = Clock::now();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
            QApplication::sendEvent(field, &press);
            QApplication::sendEvent(field, &release);
            QApplication::processEvents();
            editing.steps.push_back(milliseconds(Clock::now() - start));
            runUntil([&] { return published > before; }, 10000);
            runFor(50);
            editing.collect(application);
        }
    }
    std::printf("rule fields typed: %zu keys, %d previews published\n", editing.steps.size(), published);
    report("typing in rule editor fields", editing);

    model.items().setSearchText("");
    if (!timeWindowBatches(*window, folder, MORVANE_CLI, 5)) {
        return 1;
    }
    desktop.quit();
    return 0;
}
