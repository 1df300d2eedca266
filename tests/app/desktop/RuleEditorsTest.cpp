// The editors of the rule cards driven as a user drives them: typing a
// pattern, list mode, the date formats, the segment analysis, number fields.
#include "RuleCardTesting.h"
#include "app/desktop/rules/InlinePairList.h"
#include "app/desktop/rules/SegmentPreview.h"
#include "engine/testing/MediaFiles.h"

#include <QComboBox>
#include <QLabel>

namespace morvane::app::testing {

class RuleEditorsTest : public QObject {
    Q_OBJECT

private slots:
    // The header follows each keystroke; the foot and the table follow the
    // plan. A broken pattern says so in all three places until it is disabled.
    void typingAPatternChangesTheCardAndTheTable() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg", "notes.txt"});
        MainWindow* window = fixture.window();
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 3));
        menuEntry(card(*window, 0), "Delete Rule")->trigger();
        QVERIFY(window->rulePanel()->cards().empty());
        for (QAction* kind : window->rulePanel()->addRuleButton()->menu()->actions()) {
            if (kind->text() == "Regular Expression") {
                kind->trigger();
            }
        }
        QCOMPARE(window->rulePanel()->cards().size(), std::size_t(1));
        RuleCard* regex = card(*window, 0);
        QVERIFY(regex->editor() != nullptr);

        typeOver(control<QLineEdit>(regex, "Pattern"), "^notes");
        typeOver(control<QLineEdit>(regex, "Replace"), "memo");
        QCOMPARE(regex->header()->summaryText(), QString("\u201C^notes\u201D \u2192 \u201Cmemo\u201D"));
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "notes.txt") == "memo.txt"; }));
        QCOMPARE(regex->footer()->text(), QString("1 of 3 items changed by this rule"));
        QCOMPARE(newNameOf(*window, "IMG_1.jpg"), QString("IMG_1.jpg"));

        QLineEdit* pattern = control<QLineEdit>(regex, "Pattern");
        QTest::keyClick(pattern, Qt::Key_End);
        QTest::keyClicks(pattern, "(");
        // The editor knows at once; the card's head and foot with the plan.
        QLabel* problem = regex->findChild<QLabel*>("problem");
        QVERIFY(problem->isVisibleTo(regex));
        QCOMPARE(problem->text(), QString("Missing closing parenthesis"));
        QVERIFY(QTest::qWaitFor([&] { return regex->footer()->showsError(); }));
        QCOMPARE(regex->header()->summaryText(), QString("Invalid pattern"));
        QCOMPARE(regex->footer()->text(),
                 QString("Error \u00B7 rule is bypassed until fixedMissing closing parenthesis"));
        QCOMPARE(newNameOf(*window, "notes.txt"), QString("notes.txt"));

        QTest::mouseClick(regex->header()->enabledSwitch(), Qt::LeftButton);
        QVERIFY(!window->model().rules().entries()[0].isEnabled);
        QCOMPARE(regex->header()->summaryText(), QString("Disabled \u00B7 skipped"));
        QVERIFY(QTest::qWaitFor([&] { return !regex->footer()->showsError(); }));
        QCOMPARE(regex->footer()->text(), QString("0 of 3 items changed by this rule"));
        QCOMPARE(window->rulePanel()->activeLabel()->text(), QString("0 of 1 active"));
    }

    // List mode starts on for more than one pair; its rows edit the pairs;
    // turning it off leaves the first pair only.
    void listModeEditsThePairsAndLeavingItKeepsTheFirst() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().rules().setRules(
            {RuleEntry::make(ReplaceRule({{"a", "b", true}, {"c", "d", true}, {"e", "f", false}}, true))});
        RuleCard* replace = card(*window, 0);
        QCheckBox* listMode = control<QCheckBox>(replace, "Use a list of replacements");
        QVERIFY(listMode->isChecked());
        auto* rows = replace->findChild<InlinePairList*>();
        // The only fields named so are the rows'.
        QVERIFY(rows->isAncestorOf(control<QLineEdit>(replace, "Find")));
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->withField(1)->placeholderText(), QString("with"));

        QTest::keyClick(rows->withField(1), Qt::Key_End);
        QTest::keyClicks(rows->withField(1), "x");
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs[1].with, std::string("dx"));
        QTest::mouseClick(rows->enabledSwitch(2), Qt::LeftButton);
        QVERIFY(ruleAt<ReplaceRule>(*window, 0).pairs[2].isEnabled);
        QTest::mouseClick(control<QToolButton>(replace, "Add Row"), Qt::LeftButton);
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs.size(), std::size_t(4));
        QCOMPARE(rows->rowCount(), 4);
        QVERIFY(rows->findField(3)->hasFocus());
        QTest::mouseClick(rows->removeButton(0), Qt::LeftButton);
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs.front().find, std::string("c"));
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->findField(0)->text(), QString("c"));

        QTest::mouseClick(control<QToolButton>(replace, "Edit List"), Qt::LeftButton);
        QCOMPARE(window->model().rules().listEditingRule(),
                 std::optional(window->model().rules().entries()[0].id));
        window->model().rules().setListEditingRule(std::nullopt);

        listMode->click();
        const ReplaceRule& left = ruleAt<ReplaceRule>(*window, 0);
        QCOMPARE(left.pairs.size(), std::size_t(1));
        QVERIFY(left.pairs.front() == (ReplaceRule::Pair{"c", "dx", true}));
        QVERIFY(left.isCaseSensitive);
        QVERIFY(!rows->isAncestorOf(control<QLineEdit>(replace, "Find")));
        QCOMPARE(control<QLineEdit>(replace, "Find")->text(), QString("c"));
        QVERIFY(!rows->isVisibleTo(replace));
        // Back on, with one pair, nothing changes but the look.
        listMode->click();
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs.size(), std::size_t(1));
        QCOMPARE(rows->rowCount(), 1);
    }

    // A format that came from a preset is offered after the usual ones; the
    // menu writes the moment in each.
    void aDateFormatFromAPresetIsOfferedLast() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg"});
        MainWindow* window = fixture.window();
        DateRule rule;
        rule.format = "dd.MM.yy";
        window->model().rules().setRules({RuleEntry::make(rule, true, false)});
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 1));
        RuleCard* date = card(*window, 0);
        // Collapsed, as rules from a preset arrive, it shows its running result.
        QVERIFY(QTest::qWaitFor([&] { return date->header()->resultText().endsWith("_IMG_1.jpg"); }));
        QTest::mouseClick(date->header()->chevron(), Qt::LeftButton);
        QVERIFY(date->editor() != nullptr);
        QVERIFY(date->header()->resultText().isEmpty());

        auto* format = control<QComboBox>(date, "Format");
        QVERIFY(format);
        QCOMPARE(format->count(), 5);
        QCOMPARE(format->currentIndex(), 4);
        QCOMPARE(format->itemData(4).toString(), QString("dd.MM.yy"));
        const QString today = QDate::currentDate().toString("dd.MM.yy");
        QVERIFY2(format->itemText(4).endsWith(today), qPrintable(format->itemText(4)));
        QCOMPARE(format->itemData(0).toString(), QString("yyyy-MM-dd"));

        format->setFocus();
        QTest::keyClick(format, Qt::Key_Home);
        QCOMPARE(ruleAt<DateRule>(*window, 0).format, std::string("yyyy-MM-dd"));
        QCOMPARE(format->count(), 4);
        QVERIFY(!window->model().presets().currentPreset());
    }

    // Capture date, from the Source menu: each photo named by when it was
    // taken; a file without a capture date keeps its name and says why.
    void theCaptureDateNamesPhotosByWhenTheyWereTaken() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"notes.txt"});
        morvane::testing::writePhoto(QDir(photos).filePath("IMG_1.jpg").toStdString(),
                                     morvane::testing::PhotoFormat::jpeg,
                                     {{"Exif.Photo.DateTimeOriginal", "2024:03:05 10:11:12"}});
        MainWindow* window = fixture.window();
        DateRule rule;
        rule.timeZoneIdentifier = "UTC";
        window->model().rules().setRules({RuleEntry::make(rule)});
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));

        auto* source = control<QComboBox>(card(*window, 0), "Source");
        QVERIFY(source);
        QCOMPARE(source->itemText(source->count() - 1), QString("Capture date"));
        source->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QCOMPARE(ruleAt<DateRule>(*window, 0).source, DateRule::Source::taken);
        QTRY_COMPARE(newNameOf(*window, "IMG_1.jpg"), QString("2024-03-05_IMG_1.jpg"));
        QCOMPARE(newNameOf(*window, "notes.txt"), QString("notes.txt"));
        QAbstractItemModel* rows = window->table()->model();
        const int notes =
            rows->index(0, ItemTableModel::currentName).data().toString() == "notes.txt" ? 0 : 1;
        QCOMPARE(rows->index(notes, ItemTableModel::status).data(Qt::ToolTipRole).toString(),
                 QString("\u201Cnotes.txt\u201D has no capture date"));
    }

    // The analysis shows what the settings pick from the selected item's
    // stem as this rule receives it, or why they pick nothing; an excluded
    // or missing selection shows none, nor the Original and Result lines.
    void segmentAnalysisFollowsTheSelectedItem() {
        DesktopFixture fixture;
        const QString trip = fixture.folder("Trip", {"IMG_2024_rome.jpg", "plain.txt"});
        MainWindow* window = fixture.window();
        window->model().rules().setRules(
            {RuleEntry::make(ReplaceRule("IMG_", "", true), true, false), RuleEntry::make(SegmentRule())});
        window->model().items().openFolder(trip.toStdString());
        QVERIFY(waitForRows(*window, 2));
        const std::string rome = trip.toStdString() + "/IMG_2024_rome.jpg";
        const std::string plain = trip.toStdString() + "/plain.txt";
        window->model().items().setSelectedID(rome);
        RuleCard* segment = card(*window, 1);
        auto* preview = segment->findChild<SegmentPreview*>();
        QVERIFY(preview->isVisibleTo(segment));
        QCOMPARE(preview->before() + "|" + preview->selected() + "|" + preview->after(),
                 QString("2024_|rome|"));
        QCOMPARE(window->rulePanel()->originalName(), QString("IMG_2024_rome.jpg"));
        QCOMPARE(window->rulePanel()->resultName(), QString("rome.jpg"));

        auto* select = control<QComboBox>(segment, "Select");
        select->setFocus();
        QTest::keyClick(select, Qt::Key_Down);
        QCOMPARE(ruleAt<SegmentRule>(*window, 1).selection, SegmentRule::Selection::characters);
        QVERIFY(control<NumberField>(segment, "From") && control<NumberField>(segment, "To"));
        QVERIFY(!control<QLineEdit>(segment, "Delimiter") && !control<NumberField>(segment, "Segment"));
        QCOMPARE(preview->selected(), QString("2024"));
        QTest::keyClick(select, Qt::Key_Up);

        window->model().items().setSelectedID(plain);
        QVERIFY(QTest::qWaitFor([&] { return !preview->isVisibleTo(segment); }));
        QVERIFY(segment->findChild<QWidget*>("segmentAnalysis")->isVisibleTo(segment));
        bool saysWhy = false;
        for (QLabel* label : segment->findChildren<QLabel*>()) {
            saysWhy |=
                label->isVisibleTo(segment) && label->text() == "Segment 2 does not exist \u2014 1 segment";
        }
        QVERIFY(saysWhy);

        window->model().items().setChecked(plain, false);
        QVERIFY(QTest::qWaitFor(
            [&] { return !segment->findChild<QWidget*>("segmentAnalysis")->isVisibleTo(segment); }));
        QVERIFY(window->rulePanel()->originalName().isEmpty());
        QVERIFY(!window->rulePanel()->selectedNames()->isVisibleTo(window->rulePanel()));
        window->model().items().setSelectedID(std::nullopt);
        QVERIFY(!segment->findChild<QWidget*>("segmentAnalysis")->isVisibleTo(segment));
    }

    // What is not a number is kept in the field, marked, and changes nothing;
    // numbers are read in the interface language's format.
    void aNumberFieldGivenTextLeavesTheRuleAlone() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"a.jpg", "b.jpg"});
        MainWindow* window = fixture.window();
        window->model().rules().setRules({RuleEntry::make(CounterRule())});
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        RuleCard* counter = card(*window, 0);
        auto* start = control<NumberField>(counter, "Start");
        QCOMPARE(start->text(), QString("1"));

        typeOver(start, "abc");
        QVERIFY(start->isMarked());
        QCOMPARE(ruleAt<CounterRule>(*window, 0).start, std::int64_t(1));
        // The next preview (here asked for by hand) finds it as it was.
        window->model().preview().scheduleReplan();
        QVERIFY(waitForPlan(*window));
        QCOMPARE(start->text(), QString("abc"));
        QVERIFY(start->isMarked());

        typeOver(start, "1,000");
        QVERIFY(!start->isMarked());
        QCOMPARE(ruleAt<CounterRule>(*window, 0).start, std::int64_t(1000));
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "b.jpg") == "b-1001.jpg"; }));

        // Left empty, it is marked and the rule keeps its number.
        typeOver(start, "");
        QVERIFY(!start->isMarked());
        QTest::keyClick(start, Qt::Key_Return);
        QVERIFY(start->isMarked());
        QCOMPARE(ruleAt<CounterRule>(*window, 0).start, std::int64_t(1000));

        // A value set from elsewhere replaces what was typed.
        window->model().rules().setRule(window->model().rules().entries()[0].id,
                                        CounterRule(CounterRule::Position::suffix, 7, 1, 3, "-"));
        QCOMPARE(start->text(), QString("7"));
        QVERIFY(!start->isMarked());
        typeOver(start, "x");
        QTest::mouseClick(counter->footer()->resetButton(), Qt::LeftButton);
        QCOMPARE(ruleAt<CounterRule>(*window, 0).start, std::int64_t(1));
        QCOMPARE(control<NumberField>(counter, "Start")->text(), QString("1"));
        auto* width = control<NumberField>(counter, "Width");
        typeOver(width, "-2");
        QTest::keyClick(width, Qt::Key_Tab);
        QCOMPARE(ruleAt<CounterRule>(*window, 0).width, std::int64_t(-2));
    }
};

namespace {
const bool registered = registerTestClass<RuleEditorsTest>();
}

} // namespace morvane::app::testing

#include "RuleEditorsTest.moc"
