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
    for (std::size_t i = 0; i < model.rowCount(); ++i) {
        result.push_back(model.row(i).name());
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
        model->setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        const int before = fixture.scripted->startedCount();
        const Uuid id = model->rules().front().id;
        for (int edit = 1; edit <= 5; ++edit) {
            model->setRule(id, ReplaceRule("IMG_", "v" + std::to_string(edit), false));
            QTest::qWait(4);
        }
        QVERIFY(waitForPlan(*model));
        QTest::qWait(60);
        QCOMPARE(fixture.scripted->startedCount(), before + 1);
        QCOMPARE(replacementOf(fixture.scripted->pipelines.back()), std::string("v5"));
        QCOMPARE(model->plan().entries[0].newName, std::string("v51.jpg"));
    }

    void anOvertakenComputationIsNeverPublished() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Uuid id = model->rules().front().id;
        model->setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.scripted->holdComputation = fixture.scripted->startedCount();
        model->setRule(id, ReplaceRule("IMG_", "old-", false));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        model->setRule(id, ReplaceRule("IMG_", "new-", false));
        // The earlier plan stays until the newer one arrives.
        QCOMPARE(model->plan().entries[0].newName, std::string("santa-cruz-1.jpg"));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->plan().entries[0].newName, std::string("new-1.jpg"));
        QSignalSpy published(model.get(), &AppModel::planChanged);
        fixture.scripted->release.release();
        QTest::qWait(100);
        QCOMPARE(published.count(), 0);
        QCOMPARE(model->plan().entries[0].newName, std::string("new-1.jpg"));
        QVERIFY(fixture.scripted->sawStop.back());
    }

    // A computation that had already finished when a newer request came, its
    // result waiting to be taken, still loses to that request.
    void aFinishedButOvertakenComputationIsNeverPublished() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Uuid id = model->rules().front().id;
        model->setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.scripted->holdComputation = fixture.scripted->startedCount();
        model->setRule(id, ReplaceRule("IMG_", "old-", false));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        QSignalSpy published(model.get(), &AppModel::planChanged);
        // The window's thread gets no turn until the computation is over.
        fixture.scripted->release.release();
        WorkerPools::planning().waitForDone();
        model->setRule(id, ReplaceRule("IMG_", "new-", false));
        QVERIFY(QTest::qWaitFor([&] { return model->plan().entries[0].newName == "new-1.jpg"; }, 5000));
        QCOMPARE(published.count(), 1);
    }

    void aModelClosedDuringAComputationIsLeftAlone() {
        ModelFixture fixture;
        auto model = fixture.make();
        fixture.scripted->holdComputation = 0;
        model->setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        model.reset();
        fixture.scripted->release.release();
        QTest::qWait(50);
        QCOMPARE(fixture.scripted->startedCount(), 1);
    }

    void rowsStatusesAndFigures() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->setRules({RuleEntry::make(ReplaceRule({{"IMG_", "x", true}, {"bad", "", true}}, false))});
        // Renamed, unchanged, unchecked, hidden by the search, two onto one name, an empty name.
        model->setItems(
            namedItems({"IMG_1.jpg", "keep.jpg", "IMG_2.jpg", "other.png", "IMG_3.jpg", "x3.jpg", "bad"}));
        model->setChecked("/d/IMG_2.jpg", false);
        model->setSearchText("jpg");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->status(entryNamed(*model, "IMG_2.jpg")),
                 (RowStatus{"Excluded", "circle.dashed", "Unchecked items are skipped"}));
        QCOMPARE(model->status(entryNamed(*model, "other.png")),
                 (RowStatus{"Filtered", "line.3.horizontal.decrease", "Hidden by the current filter"}));
        QCOMPARE(model->status(entryNamed(*model, "IMG_3.jpg")).label, std::string("Conflict"));
        QCOMPARE(model->status(entryNamed(*model, "bad")).label, std::string("Filtered"));
        const PlanSummary& summary = model->summary();
        QCOMPARE(summary.items, std::size_t(7));
        QCOMPARE(summary.included, std::size_t(4));
        QCOMPARE(summary.toRename, std::size_t(1));
        QCOMPARE(summary.conflicts, std::size_t(2));
        QCOMPARE(model->statusBar().conflicts, std::string("2 conflicts"));

        model->setSearchText("");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->status(entryNamed(*model, "bad")),
                 (RowStatus{"Invalid", "xmark.octagon.fill", "The new name is empty"}));
        const int computations = fixture.scripted->startedCount();
        QSignalSpy rows(model.get(), &AppModel::rowsChanged);
        model->setShowOnlyChanged(true);
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rowNames(*model), (std::vector<std::string>{"bad", "IMG_1.jpg", "IMG_3.jpg", "x3.jpg"}));
        QCOMPARE(model->row(0).kind(), std::string(""));
        QCOMPARE(model->row(1).kind(), std::string("JPG"));
        QTest::qWait(50);
        QCOMPARE(fixture.scripted->startedCount(), computations);

        model->skipConflicting();
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->summary().conflicts, std::size_t(0));
        QVERIFY(model->unchecked().contains("/d/bad") && model->unchecked().contains("/d/x3.jpg"));
        QCOMPARE(model->statusBar().conflicts, std::string("No conflicts"));
    }

    void theTraceCountsOnlyIncludedItems() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->setRules({RuleEntry::make(CounterRule(CounterRule::Position::suffix, 1, 1, 1, "-"))});
        model->setItems(namedItems({"a.txt", "b.txt", "c.txt"}));
        model->setChecked("/d/b.txt", false);
        model->setSelectedID("/d/c.txt");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->selectedEntry()->item.name, std::string("c.txt"));
        const auto trace = model->trace();
        QCOMPARE(trace.size(), std::size_t(1));
        QCOMPARE(trace[0].output, std::string("c-2.txt"));
        QCOMPARE(model->figures(model->rules()[0].id).result, std::optional<std::string>("c-2.txt"));
        model->setSelectedID("/d/b.txt");
        QVERIFY(model->trace().empty());
        model->setSelectedID("/d/gone.txt");
        QVERIFY(!model->selectedEntry());
    }

    void aLanguageChangeReplansAndTextsFollow() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->setItems(namedItems({"IMG_1.jpg"}));
        QVERIFY(waitForPlan(*model));
        fixture.settings->setLanguagePreference("es");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->statusBar().items, std::string("1 elemento"));
        QCOMPARE(model->status(model->plan().entries[0]).label, std::string("Renombrar"));
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
        QCOMPARE(first->folder(), std::optional<std::string>("/photos"));
        QVERIFY(first->openSettingsAtLaunch());
        QVERIFY(!first->showWelcome());
        QCOMPARE(first->rules().size(), std::size_t(1));
        QCOMPARE(std::get<ReplaceRule>(first->rules()[0].rule).pairs.size(), std::size_t(4));
        QCOMPARE(fixture.settings->language().code, std::string("es"));
        QCOMPARE(fixture.settings->languagePreference(), std::string("system"));
        QCOMPARE(fixture.settings->shownAppearance(), AppearanceChoice::dark);
        QCOMPARE(fixture.settings->appearance(), AppearanceChoice::system);
        QTest::qWait(10);
        QCOMPARE(first->listEditingRule(), std::optional<Uuid>(first->rules()[0].id));
        QVERIFY(first->showPresetManager());

        QVERIFY(!second->folder());
        QVERIFY(!second->openSettingsAtLaunch());
        QVERIFY(!second->listEditingRule());
        QVERIFY(!second->showPresetManager());
        QVERIFY(!second->showWelcome());
        Localizer::setLanguage(AppLanguage::english());
        Localization::setLanguage("en");

        LaunchOptions::offer({"--demo"});
        auto welcomed = fixture.make();
        QVERIFY(welcomed->showWelcome());
        QCOMPARE(welcomed->rules().size(), std::size_t(4));
        QVERIFY(!welcomed->rules()[3].isEnabled);
        QVERIFY(!fixture.make()->showWelcome());
    }
};

namespace {
const bool registered = registerTestClass<PreviewTest>();
}

} // namespace morvane::app::testing

#include "PreviewTest.moc"
