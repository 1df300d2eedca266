#include "ModelTesting.h"
#include "app/model/LaunchOptions.h"
#include "app/model/Localizer.h"
#include "app/model/WorkerPools.h"
#include "engine/support/Localization.h"

namespace morvane::app::testing {
namespace {

const std::string& replacementOf(const RenamePipeline& pipeline) {
    return dynamic_cast<const ReplaceRule&>(*pipeline.steps.front().rule).pairs.front().with;
}

std::vector<std::string> rowNames(const AppModel& model) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < model.preview().rowCount(); ++i) {
        result.push_back(model.preview().row(i).name());
    }
    return result;
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void aBurstOfEditsIsPlannedOnceFromTheLastEdit() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->items().setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        const int before = fixture.scripted->startedCount();
        const Uuid id = model->rules().entries().front().id;
        for (int edit = 1; edit <= 5; ++edit) {
            model->rules().setRule(id, ReplaceRule("IMG_", "v" + std::to_string(edit), false));
            QTest::qWait(4);
        }
        QVERIFY(waitForPlan(*model));
        QTest::qWait(60);
        QCOMPARE(fixture.scripted->startedCount(), before + 1);
        QCOMPARE(replacementOf(fixture.scripted->pipelines.back()), std::string("v5"));
        QCOMPARE(model->preview().plan().entries[0].newName, std::string("v51.jpg"));
    }

    void anOvertakenComputationIsNeverPublished() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Uuid id = model->rules().entries().front().id;
        model->items().setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.scripted->holdComputation = fixture.scripted->startedCount();
        model->rules().setRule(id, ReplaceRule("IMG_", "old-", false));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        model->rules().setRule(id, ReplaceRule("IMG_", "new-", false));
        // The earlier plan stays until the newer one arrives.
        QCOMPARE(model->preview().plan().entries[0].newName, std::string("santa-cruz-1.jpg"));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().plan().entries[0].newName, std::string("new-1.jpg"));
        QSignalSpy published(&model->preview(), &WindowPreview::planChanged);
        fixture.scripted->release.release();
        QTest::qWait(100);
        QCOMPARE(published.count(), 0);
        QCOMPARE(model->preview().plan().entries[0].newName, std::string("new-1.jpg"));
        QVERIFY(fixture.scripted->sawStop.back());
    }

    // A computation that had already finished when a newer request came, its
    // result waiting to be taken, still loses to that request.
    void aFinishedButOvertakenComputationIsNeverPublished() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Uuid id = model->rules().entries().front().id;
        model->items().setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.scripted->holdComputation = fixture.scripted->startedCount();
        model->rules().setRule(id, ReplaceRule("IMG_", "old-", false));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        QSignalSpy published(&model->preview(), &WindowPreview::planChanged);
        // The window's thread gets no turn until the computation is over.
        fixture.scripted->release.release();
        WorkerPools::planning().waitForDone();
        model->rules().setRule(id, ReplaceRule("IMG_", "new-", false));
        QVERIFY(
            QTest::qWaitFor([&] { return model->preview().plan().entries[0].newName == "new-1.jpg"; }, 5000));
        QCOMPARE(published.count(), 1);
    }

    void aModelClosedDuringAComputationIsLeftAlone() {
        ModelFixture fixture;
        auto model = fixture.make();
        fixture.scripted->holdComputation = 0;
        model->items().setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        model.reset();
        fixture.scripted->release.release();
        QTest::qWait(50);
        QCOMPARE(fixture.scripted->startedCount(), 1);
    }

    void rowsStatusesAndFigures() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules(
            {RuleEntry::make(ReplaceRule({{"IMG_", "x", true}, {"bad", "", true}}, false))});
        // Renamed, unchanged, unchecked, hidden by the search, two onto one name, an empty name.
        model->items().setItems(
            namedItems({"IMG_1.jpg", "keep.jpg", "IMG_2.jpg", "other.png", "IMG_3.jpg", "x3.jpg", "bad"}));
        model->items().setChecked("/d/IMG_2.jpg", false);
        model->items().setSearchText("jpg");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->items().status(entryNamed(*model, "IMG_2.jpg")),
                 (RowStatus{"Excluded", "circle.dashed", "Unchecked items are skipped"}));
        QCOMPARE(model->items().status(entryNamed(*model, "other.png")),
                 (RowStatus{"Filtered", "line.3.horizontal.decrease", "Hidden by the current filter"}));
        QCOMPARE(model->items().status(entryNamed(*model, "IMG_3.jpg")).label, std::string("Conflict"));
        QCOMPARE(model->items().status(entryNamed(*model, "bad")).label, std::string("Filtered"));
        const PlanSummary& summary = model->preview().summary();
        QCOMPARE(summary.items, std::size_t(7));
        QCOMPARE(summary.included, std::size_t(4));
        QCOMPARE(summary.toRename, std::size_t(1));
        QCOMPARE(summary.conflicts, std::size_t(2));
        QCOMPARE(model->preview().statusBar().conflicts, std::string("2 conflicts"));

        model->items().setSearchText("");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->items().status(entryNamed(*model, "bad")),
                 (RowStatus{"Invalid", "xmark.octagon.fill", "The new name is empty"}));
        const int computations = fixture.scripted->startedCount();
        QSignalSpy rows(&model->preview(), &WindowPreview::rowsChanged);
        model->preview().setShowOnlyChanged(true);
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rowNames(*model), (std::vector<std::string>{"bad", "IMG_1.jpg", "IMG_3.jpg", "x3.jpg"}));
        QCOMPARE(model->preview().row(0).kind(), std::string(""));
        QCOMPARE(model->preview().row(1).kind(), std::string("JPG"));
        QTest::qWait(50);
        QCOMPARE(fixture.scripted->startedCount(), computations);

        model->skipConflicting();
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().summary().conflicts, std::size_t(0));
        QVERIFY(model->items().unchecked().contains("/d/bad") &&
                model->items().unchecked().contains("/d/x3.jpg"));
        QCOMPARE(model->preview().statusBar().conflicts, std::string("No conflicts"));
    }

    void theTraceCountsOnlyIncludedItems() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules({RuleEntry::make(CounterRule(CounterRule::Position::suffix, 1, 1, 1, "-"))});
        model->items().setItems(namedItems({"a.txt", "b.txt", "c.txt"}));
        model->items().setChecked("/d/b.txt", false);
        model->items().setSelectedID("/d/c.txt");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().selectedEntry()->item.name, std::string("c.txt"));
        const auto trace = model->rules().trace();
        QCOMPARE(trace.size(), std::size_t(1));
        QCOMPARE(trace[0].output, std::string("c-2.txt"));
        QCOMPARE(model->rules().figures(model->rules().entries()[0].id).result,
                 std::optional<std::string>("c-2.txt"));
        model->items().setSelectedID("/d/b.txt");
        QVERIFY(model->rules().trace().empty());
        model->items().setSelectedID("/d/gone.txt");
        QVERIFY(!model->preview().selectedEntry());
    }

    void aLanguageChangeReplansAndTextsFollow() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->items().setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.settings->setLanguagePreference("es");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->preview().statusBar().items, std::string("1 elemento"));
        QCOMPARE(model->items().status(model->preview().plan().entries[0]).label, std::string("Renombrar"));
        fixture.settings->setLanguagePreference("en");
    }

    void launchOptionsGoToTheFirstModelOnly() {
        ModelFixture fixture;
        fixture.disk->addFile("/photos/a.txt");
        LaunchOptions::offer(
            {"--open", "/photos", "--settings", "--list", "--language=es", "--appearance=dark", "--presets"});
        auto first = fixture.make();
        auto second = fixture.make();
        QVERIFY(waitForLoad(*first));
        QCOMPARE(first->items().folder(), std::optional<std::string>("/photos"));
        QVERIFY(first->openSettingsAtLaunch());
        QVERIFY(!first->showWelcome());
        QCOMPARE(first->rules().entries().size(), std::size_t(1));
        QCOMPARE(std::get<ReplaceRule>(first->rules().entries()[0].rule).pairs.size(), std::size_t(4));
        QCOMPARE(fixture.settings->language().code, std::string("es"));
        QCOMPARE(fixture.settings->languagePreference(), std::string("system"));
        QCOMPARE(fixture.settings->shownAppearance(), AppearanceChoice::dark);
        QCOMPARE(fixture.settings->appearance(), AppearanceChoice::system);
        QTest::qWait(10);
        QCOMPARE(first->rules().listEditingRule(), std::optional<Uuid>(first->rules().entries()[0].id));
        QVERIFY(first->presets().showPresetManager());

        QVERIFY(!second->items().folder());
        QVERIFY(!second->openSettingsAtLaunch());
        QVERIFY(!second->rules().listEditingRule());
        QVERIFY(!second->presets().showPresetManager());
        QVERIFY(!second->showWelcome());
        Localizer::setLanguage(AppLanguage::english());
        Localization::setLanguage("en");

        LaunchOptions::offer({"--demo"});
        auto welcomed = fixture.make();
        QVERIFY(welcomed->showWelcome());
        QCOMPARE(welcomed->rules().entries().size(), std::size_t(4));
        QVERIFY(!welcomed->rules().entries()[3].isEnabled);
        QVERIFY(!fixture.make()->showWelcome());
    }
};

namespace {
const bool registered = registerTestClass<PreviewTest>();
}

} // namespace morvane::app::testing

#include "PreviewTest.moc"
