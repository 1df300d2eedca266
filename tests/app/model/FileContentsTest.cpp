// Rules that read what files hold: the window reads each file once, only for
// rules that need it, and shows on each item what its file lacks.
#include "ModelTesting.h"

namespace morvane::app::testing {

class FileContentsTest : public QObject {
    Q_OBJECT

private slots:
    void filesAreReadOnlyForRulesThatNeedThemAndEachOnce() {
        ModelFixture fixture;
        fixture.metadata->files["/d/a.jpg"].taken =
            CaptureDate{*LocalDateTime::valid(2024, 3, 5, 10, 0, 0), 0};
        auto model = fixture.make();
        model->items().setItems(namedItems({"a.jpg", "b.jpg", "c.jpg"}));
        model->items().setChecked("/d/c.jpg", false);
        QVERIFY(waitForPlan(*model));
        QCOMPARE(fixture.metadata->asked(), std::vector<std::string>{});

        const auto byCaptureDate = [](const char* format) {
            return DateRule(DateRule::Source::taken, format, DateRule::Position::before, "_", "UTC");
        };
        model->rules().setRules({RuleEntry::make(byCaptureDate("yyyy"))});
        QVERIFY(waitForPlan(*model));
        QCOMPARE(entryNamed(*model, "a.jpg").newName, std::string("2024_a.jpg"));
        QCOMPARE(fixture.metadata->asked(), (std::vector<std::string>{"/d/a.jpg photo", "/d/b.jpg photo"}));

        // The rule is passed by for the photo without a date, which says so.
        QCOMPARE(model->status(entryNamed(*model, "b.jpg")),
                 (RowStatus{"Unchanged", "exclamationmark.circle", "\u201Cb.jpg\u201D has no capture date"}));
        model->items().setSelectedID("/d/b.jpg");
        QCOMPARE(model->rules().trace().front().error,
                 std::optional<std::string>("\u201Cb.jpg\u201D has no capture date"));

        // Typing in the rule reads nothing again; an item checked again is read then.
        const Uuid id = model->rules().entries().front().id;
        for (const char* format : {"y", "yy", "yyy", "yyyy-", "yyyy-M", "yyyy-MM"}) {
            model->rules().setRule(id, byCaptureDate(format));
        }
        QVERIFY(waitForPlan(*model));
        QCOMPARE(entryNamed(*model, "a.jpg").newName, std::string("2024-03_a.jpg"));
        model->items().setChecked("/d/c.jpg", true);
        QVERIFY(waitForPlan(*model));
        QCOMPARE(fixture.metadata->asked(),
                 (std::vector<std::string>{"/d/a.jpg photo", "/d/b.jpg photo", "/d/c.jpg photo"}));
    }
};

namespace {
const bool registered = registerTestClass<FileContentsTest>();
}

} // namespace morvane::app::testing

#include "FileContentsTest.moc"
