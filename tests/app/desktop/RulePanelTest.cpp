// The rule panel driven as a user drives it: the cards' menus, dragging
// cards, collapsing and expanding, and typing while previews arrive.
#include "RuleCardTesting.h"
#include "app/desktop/rules/RuleCardList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace morvane::app::testing {
namespace {

std::vector<RuleKind> kinds(MainWindow& window) {
    std::vector<RuleKind> result;
    for (const RuleEntry& entry : window.model().rules().entries()) {
        result.push_back(kindOf(entry.rule));
    }
    return result;
}

// Drops `dragged` on the card list at `y` (in the list's coordinates), as
// a drag ending there would; whether the list took it.
bool dropAt(RuleCardList* list, QMimeData* dragged, int y) {
    const QPoint at(list->width() / 2, y);
    QDragEnterEvent enter(at, Qt::MoveAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDragMoveEvent move(at, Qt::MoveAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &move);
    QDropEvent drop(at, Qt::MoveAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    return drop.isAccepted();
}

} // namespace

class RulePanelTest : public QObject {
    Q_OBJECT

private slots:
    void theCardMenuMovesDuplicatesResetsAndDeletes() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().rules().setRules(
            {RuleEntry::make(NameRule(NameRule::Mode::reverse, "x")),
             RuleEntry::make(CounterRule(CounterRule::Position::prefix, 5, 2, 4, "_")),
             RuleEntry::make(CaseRule())});
        RuleCard* name = card(*window, 0);
        QVERIFY(!menuEntry(name, "Move Up")->isEnabled());
        menuEntry(name, "Move Down")->trigger();
        QCOMPARE(kinds(*window), (std::vector{RuleKind::counter, RuleKind::name, RuleKind::letterCase}));
        // The same card, now second, numbered so.
        QCOMPARE(card(*window, 1), name);
        QVERIFY(!menuEntry(card(*window, 2), "Move Down")->isEnabled());

        menuEntry(card(*window, 0), "Duplicate")->trigger();
        QCOMPARE(kinds(*window),
                 (std::vector{RuleKind::counter, RuleKind::counter, RuleKind::name, RuleKind::letterCase}));
        QVERIFY(window->model().rules().entries()[1].rule == window->model().rules().entries()[0].rule);
        QVERIFY(window->model().rules().entries()[1].id != window->model().rules().entries()[0].id);
        RuleCard* copy = card(*window, 1);
        QCOMPARE(control<NumberField>(copy, "Start")->text(), QString("5"));

        menuEntry(copy, "Reset to Defaults")->trigger();
        QVERIFY(window->model().rules().entries()[1].rule == AnyRule(CounterRule()));
        QCOMPARE(control<NumberField>(copy, "Start")->text(), QString("1"));

        QCOMPARE(menuEntry(copy, "Disable Rule")->text(), QString("Disable Rule"));
        menuEntry(copy, "Disable Rule")->trigger();
        QVERIFY(!window->model().rules().entries()[1].isEnabled);
        QVERIFY(menuEntry(copy, "Enable Rule"));
        QCOMPARE(copy->header()->summaryText(), QString("Disabled \u00B7 skipped"));

        menuEntry(copy, "Delete Rule")->trigger();
        QCOMPARE(kinds(*window), (std::vector{RuleKind::counter, RuleKind::name, RuleKind::letterCase}));
        QCOMPARE(window->rulePanel()->cards().size(), std::size_t(3));

        // All collapse, then all open again.
        QToolButton* all = window->rulePanel()->expandButton();
        QCOMPARE(all->text(), QString("Collapse All"));
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(all->text(), QString("Expand All"));
        for (RuleCard* each : window->rulePanel()->cards()) {
            QVERIFY(each->editor() == nullptr);
            QVERIFY(!each->footer()->isVisibleTo(each));
        }
        QTest::mouseClick(all, Qt::LeftButton);
        QVERIFY(card(*window, 2)->editor() != nullptr);
    }

    // A dragged card goes before the card under the upper half of which it
    // is dropped, after one in whose lower half; a card of another window's
    // list is refused.
    void cardsReorderByDrag() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().rules().setRules({RuleEntry::make(NameRule(), true, false),
                                          RuleEntry::make(CounterRule(), true, false),
                                          RuleEntry::make(CaseRule(), true, false)});
        RuleCardList* list = window->rulePanel()->cardList();
        QVERIFY(QTest::qWaitFor([&] { return card(*window, 2)->geometry().height() > 0; }));
        std::unique_ptr<QMimeData> first(card(*window, 0)->dragData());
        QVERIFY(dropAt(list, first.get(), card(*window, 2)->geometry().bottom() - 2));
        QCOMPARE(kinds(*window), (std::vector{RuleKind::counter, RuleKind::letterCase, RuleKind::name}));

        std::unique_ptr<QMimeData> last(card(*window, 2)->dragData());
        QVERIFY(dropAt(list, last.get(), card(*window, 0)->geometry().top() + 2));
        QCOMPARE(kinds(*window), (std::vector{RuleKind::name, RuleKind::counter, RuleKind::letterCase}));
        QVERIFY(QTest::qWaitFor([&] { return card(*window, 0)->header()->summaryText() == "Keep name"; }));

        MainWindow* other = fixture.window();
        std::unique_ptr<QMimeData> foreign(card(*other, 0)->dragData());
        QVERIFY(!dropAt(list, foreign.get(), 2));
        QCOMPARE(kinds(*window), (std::vector{RuleKind::name, RuleKind::counter, RuleKind::letterCase}));
    }

    // Cards are updated in place: the field being typed in keeps the focus
    // and the cursor when the rule list changes and the preview arrives.
    void typingKeepsFocusAndCursorAsThePreviewArrives() {
        DesktopFixture fixture;
        const QString photos = fixture.folder("Photos", {"IMG_1.jpg", "IMG_2.jpg"});
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().rules().setRules(
            {RuleEntry::make(ReplaceRule()), RuleEntry::make(TemplateRule("{name}", {}))});
        window->model().items().openFolder(photos.toStdString());
        QVERIFY(waitForRows(*window, 2));
        RuleCard* replace = card(*window, 0);
        QLineEdit* find = control<QLineEdit>(replace, "Find");
        find->setFocus();
        QTest::keyClicks(find, "IG");
        QTest::keyClick(find, Qt::Key_Left);
        QTest::keyClicks(find, "M");
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs[0].find, std::string("IMG"));
        QVERIFY(waitForPlan(*window));
        QCOMPARE(card(*window, 0), replace);
        QVERIFY(find->hasFocus());
        QCOMPARE(find->text(), QString("IMG"));
        QCOMPARE(find->cursorPosition(), 2);
        QTest::keyClicks(find, "_");
        QCOMPARE(ruleAt<ReplaceRule>(*window, 0).pairs[0].find, std::string("IM_G"));

        QLineEdit* text = control<QLineEdit>(card(*window, 1), "Template");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Home);
        QTest::keyClicks(text, "x-");
        QVERIFY(waitForPlan(*window));
        QVERIFY(text->hasFocus());
        QCOMPARE(text->cursorPosition(), 2);
        QVERIFY(QTest::qWaitFor([&] { return newNameOf(*window, "IMG_1.jpg") == "x-IMG_1.jpg"; }));
    }

    // Tab goes through the cards in the order shown, and through an open
    // card's editor before the next card, however they were made or moved.
    void tabFollowsTheCardsAsShown() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        QVERIFY(bringToFront(window));
        window->model().rules().setRules(
            {RuleEntry::make(NameRule(), true, false), RuleEntry::make(CounterRule(), true, false)});
        menuEntry(card(*window, 0), "Move Down")->trigger();
        QCOMPARE(kinds(*window), (std::vector{RuleKind::counter, RuleKind::name}));
        card(*window, 0)->header()->chevron()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), card(*window, 1)->header()->enabledSwitch());

        QTest::keyClick(card(*window, 0)->header()->chevron(), Qt::Key_Space);
        QVERIFY(card(*window, 0)->editor() != nullptr);
        card(*window, 0)->header()->chevron()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(card(*window, 0)->editor()->isAncestorOf(QApplication::focusWidget()));
    }

    // A new language relabels the cards in place and makes their editors anew.
    void cardsFollowALanguageSwitch() {
        DesktopFixture fixture;
        MainWindow* window = fixture.window();
        window->model().rules().setRules(
            {RuleEntry::make(ReplaceRule()), RuleEntry::make(CounterRule(), true, false)});
        RuleCard* replace = card(*window, 0);
        fixture.settings->setLanguagePreference("es");
        QTRY_VERIFY(control<QCheckBox>(replace, "Usar una lista de reemplazos"));
        QCOMPARE(card(*window, 0), replace);
        QVERIFY(control<QLineEdit>(replace, "Reemplazar por"));
        QVERIFY(menuEntry(replace, "Eliminar regla") && menuEntry(replace, "Desactivar regla"));
        QVERIFY(replace->footer()->text().endsWith(" elementos cambiados por esta regla"));
        QCOMPARE(window->rulePanel()->expandButton()->text(), QString("Contraer todo"));
        QVERIFY(card(*window, 1)->header()->summaryText().startsWith("Inicio 1"));
        fixture.settings->setLanguagePreference("system");
        QTRY_VERIFY(control<QCheckBox>(replace, "Use a list of replacements"));
    }
};

namespace {
const bool registered = registerTestClass<RulePanelTest>();
}

} // namespace morvane::app::testing

#include "RulePanelTest.moc"
