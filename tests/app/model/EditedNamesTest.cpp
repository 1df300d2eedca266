// New names written by hand: checked like the rules' names, shown as edits,
// kept through changes of the rules, gone with their items, and carried out
// and undone like any other rename.
#include "ModelTesting.h"
#include "engine/presets/Preset.h"
#include "engine/rules/CounterRule.h"
#include "engine/transactions/HistoryStore.h"

namespace morvane::app::testing {
namespace {

std::unique_ptr<AppModel> photosModel(ModelFixture& fixture) {
    for (const char* name : {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"}) {
        fixture.disk->addFile(std::string("/photos/") + name);
    }
    auto model = fixture.make();
    model->rules().setRules({RuleEntry::make(ReplaceRule("IMG_", "photo-", false))});
    model->items().openFolder("/photos");
    return model;
}

bool waitForNewName(const AppModel& model, const std::string& name, const std::string& newName) {
    return QTest::qWaitFor(
        [&] {
            for (const auto& entry : model.preview().plan().entries) {
                if (entry.item.name == name) {
                    return entry.newName == newName;
                }
            }
            return false;
        },
        5000);
}

} // namespace

class EditedNamesTest : public QObject {
    Q_OBJECT

private slots:
    // An edit stands in for the rules' name and says so; a name that clashes
    // or is not a name is refused as any new name is; taking it back gives
    // the rules' name again.
    void anEditedNameIsCheckedLikeAnyOther() {
        ModelFixture fixture;
        auto model = photosModel(fixture);
        QVERIFY(waitForRenamable(*model, 3));

        model->rules().editNewName("/photos/IMG_2.jpg", "Beach.jpg");
        QVERIFY(waitForNewName(*model, "IMG_2.jpg", "Beach.jpg"));
        const RenamePlan::Entry& edited = entryNamed(*model, "IMG_2.jpg");
        QVERIFY(edited.isEdited);
        QCOMPARE(model->items().status(edited).label, std::string("Edited"));
        QCOMPARE(model->items().status(edited).symbol, std::string("pencil"));
        QCOMPARE(model->preview().editedCount(), std::size_t(1));

        model->rules().editNewName("/photos/IMG_2.jpg", "photo-1.jpg");
        QVERIFY(waitForNewName(*model, "IMG_2.jpg", "photo-1.jpg"));
        QCOMPARE(entryNamed(*model, "IMG_2.jpg").status.kind, RenameStatus::Kind::duplicate);
        QCOMPARE(entryNamed(*model, "IMG_1.jpg").status.kind, RenameStatus::Kind::duplicate);
        QCOMPARE(model->items().status(entryNamed(*model, "IMG_2.jpg")).label, std::string("Conflict"));
        model->rules().editNewName("/photos/IMG_2.jpg", ".jpg");
        QVERIFY(waitForNewName(*model, "IMG_2.jpg", ".jpg"));
        QCOMPARE(entryNamed(*model, "IMG_2.jpg").status.kind, RenameStatus::Kind::invalid);
        QVERIFY(!model->batches().confirmationSheet("").canRename);

        model->rules().useRulesName("/photos/IMG_2.jpg");
        QVERIFY(waitForNewName(*model, "IMG_2.jpg", "photo-2.jpg"));
        QVERIFY(!entryNamed(*model, "IMG_2.jpg").isEdited);
        QVERIFY(!model->rules().editedNamesNote());
    }

    // Committing the name shown, as the rules made it, is no edit; an
    // excluded item has no new name to edit.
    void onlyARealChangeIsAnEdit() {
        ModelFixture fixture;
        auto model = photosModel(fixture);
        QVERIFY(waitForRenamable(*model, 3));
        QSignalSpy changed(&model->rules(), &WindowRules::editedNamesChanged);
        model->rules().editNewName("/photos/IMG_1.jpg", "photo-1.jpg");
        model->items().setChecked("/photos/IMG_3.jpg", false);
        QVERIFY(waitForRenamable(*model, 2));
        model->rules().editNewName("/photos/IMG_3.jpg", "other.jpg");
        model->rules().editNewName("/photos/elsewhere.jpg", "other.jpg");
        QCOMPARE(changed.count(), 0);
        QVERIFY(model->rules().editedNames().empty());
    }

    // Edits outlast changes of the rules, which say how many they keep, keep
    // their place in a counter's numbering, and are no part of a preset.
    void editsOutlastRuleChangesButNotTheirItems() {
        ModelFixture fixture;
        auto model = photosModel(fixture);
        QVERIFY(waitForRenamable(*model, 3));
        model->rules().editNewName("/photos/IMG_1.jpg", "first.jpg");
        QVERIFY(waitForNewName(*model, "IMG_1.jpg", "first.jpg"));
        QCOMPARE(model->rules().editedNamesNote(), std::optional<std::string>("1 edited name kept"));

        model->rules().setRules({RuleEntry::make(CounterRule(CounterRule::Position::replace, 1, 1, 2, ""))});
        QVERIFY(waitForNewName(*model, "IMG_2.jpg", "02.jpg"));
        QCOMPARE(entryNamed(*model, "IMG_1.jpg").newName, std::string("first.jpg"));
        QCOMPARE(entryNamed(*model, "IMG_3.jpg").newName, std::string("03.jpg"));
        QVERIFY(model->presets().saveCurrentRules("Numbers"));
        const Preset saved = model->presets().userPresets().front();
        QVERIFY(saved.data().find("first") == std::string::npos);

        // Read again, the folder keeps its edits; another folder drops them.
        model->items().rescan();
        QVERIFY(waitForLoad(*model));
        QVERIFY(!model->rules().editedNames().empty());
        fixture.disk->addFile("/other/x.jpg");
        model->items().openFolder("/other");
        QVERIFY(model->rules().editedNames().empty());
        model->items().openFolder("/photos");
        QVERIFY(waitForNewName(*model, "IMG_1.jpg", "01.jpg"));
    }

    // A batch carries the edited name out like any other and the history
    // records it; the undo puts it back; the edit went with the batch.
    void anEditedRenameIsCarriedOutAndUndoneLikeAnyOther() {
        ModelFixture fixture;
        auto model = photosModel(fixture);
        QVERIFY(waitForRenamable(*model, 3));
        model->rules().editNewName("/photos/IMG_3.jpg", "sunset.jpg");
        QVERIFY(waitForNewName(*model, "IMG_3.jpg", "sunset.jpg"));
        model->batches().performRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(),
                 (std::vector<std::string>{"/photos", "/photos/photo-1.jpg", "/photos/photo-2.jpg",
                                           "/photos/sunset.jpg"}));
        QVERIFY(model->rules().editedNames().empty());
        const auto recorded = HistoryStore(fixture.history).load();
        QCOMPARE(recorded.size(), std::size_t(1));
        QCOMPARE(recorded.front().operations.back().to, std::string("sunset.jpg"));

        model->batches().undoLastRename();
        QVERIFY(waitForBatch(*model));
        QCOMPARE(fixture.disk->paths(), (std::vector<std::string>{"/photos", "/photos/IMG_1.jpg",
                                                                  "/photos/IMG_2.jpg", "/photos/IMG_3.jpg"}));
    }
};

namespace {
const bool registered = registerTestClass<EditedNamesTest>();
}

} // namespace morvane::app::testing

#include "EditedNamesTest.moc"
