#include "app/desktop/RulePanel.h"

#include "app/desktop/ElidedLabel.h"
#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/desktop/rules/FocusOrder.h"
#include "app/desktop/rules/RuleCard.h"
#include "app/desktop/rules/RuleCardList.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace morvane::app {

RulePanel::RulePanel(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), title_(new QLabel), active_(new QLabel), expand_(new QToolButton),
      scroll_(new QScrollArea), cardList_(new RuleCardList(model.rules())), addRule_(new QToolButton),
      addMenu_(new QMenu(this)) {
    setObjectName("rulePanel");
    setMinimumWidth(300);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 10, 8, 8);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.1);
    title_->setFont(titleFont);
    active_->setForegroundRole(QPalette::PlaceholderText);
    expand_->setIcon(Icons::symbol("chevron.up.chevron.down"));
    expand_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    expand_->setAutoRaise(true);
    expand_->setFocusPolicy(Qt::StrongFocus);
    header->setSpacing(8);
    header->addWidget(title_);
    header->addWidget(active_);
    header->addStretch(1);
    header->addWidget(expand_);
    layout->addLayout(header);
    connect(expand_, &QToolButton::clicked, &model_.rules(), &WindowRules::expandOrCollapseAll);
    layout->addWidget(makeSelectedNames());

    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* cards = new QWidget;
    cards->setObjectName("ruleCards");
    auto* cardsColumn = new QVBoxLayout(cards);
    cardsColumn->setContentsMargins(10, 0, 10, 10);
    cardsColumn->setSpacing(8);
    cardsColumn->addWidget(cardList_);
    addRule_->setIcon(Icons::symbol("plus"));
    addRule_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addRule_->setPopupMode(QToolButton::InstantPopup);
    addRule_->setMenu(addMenu_);
    addRule_->setFocusPolicy(Qt::StrongFocus);
    cardsColumn->addWidget(addRule_, 0, Qt::AlignLeft);
    cardsColumn->addStretch(1);
    scroll_->setWidget(cards);
    layout->addWidget(scroll_, 1);

    connect(&model_.rules(), &WindowRules::rulesChanged, this, &RulePanel::rebuildCards);
    connect(&model_.preview(), &WindowPreview::planChanged, this, &RulePanel::refreshCards);
    connect(&model_.items(), &WindowItems::selectionChanged, this, &RulePanel::refreshCards);
    connect(&model_.settings(), &AppSettings::showRunningResultChanged, this, &RulePanel::refreshCards);
    rebuildCards();
    retranslate();
}

QWidget* RulePanel::makeSelectedNames() {
    names_ = new QWidget;
    names_->setObjectName("selectedNames");
    auto* grid = new QGridLayout(names_);
    grid->setContentsMargins(12, 0, 12, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    originalTitle_ = new QLabel;
    resultTitle_ = new QLabel;
    original_ = new ElidedLabel(Qt::ElideMiddle);
    result_ = new ElidedLabel(Qt::ElideMiddle);
    for (QLabel* title : {originalTitle_, resultTitle_}) {
        title->setForegroundRole(QPalette::PlaceholderText);
    }
    QFont bold = result_->font();
    bold.setBold(true);
    result_->setFont(bold);
    grid->addWidget(originalTitle_, 0, 0);
    grid->addWidget(original_, 0, 1);
    grid->addWidget(resultTitle_, 1, 0);
    grid->addWidget(result_, 1, 1);
    grid->setColumnStretch(1, 1);
    return names_;
}

// Cards are kept for as long as their rules exist, whatever the order, so
// the control the user is in keeps the focus.
void RulePanel::rebuildCards() {
    const auto& rules = model_.rules().entries();
    std::vector<RuleCard*> kept;
    kept.reserve(rules.size());
    RuleCard* added = nullptr;
    std::size_t addedCount = 0;
    for (const RuleEntry& entry : rules) {
        const auto found = std::find_if(cards_.begin(), cards_.end(), [&](const RuleCard* card) {
            return card != nullptr && card->id() == entry.id;
        });
        if (found != cards_.end()) {
            kept.push_back(*found);
            *found = nullptr;
        } else {
            added = new RuleCard(model_.rules(), entry.id, cardList_);
            ++addedCount;
            kept.push_back(added);
        }
    }
    for (RuleCard* gone : cards_) {
        if (gone != nullptr) {
            // Not deleted at once: the signal may come from inside the card.
            gone->hide();
            gone->deleteLater();
        }
    }
    const bool firstBuild = cards_.empty() && !isVisible();
    const bool rearranged = addedCount > 0 || kept.size() != cards_.size() || !cardList_->shows(kept);
    cards_ = std::move(kept);
    if (rearranged) {
        cardList_->arrange(cards_);
        // Tab follows the cards as they are shown, however they were made or moved.
        std::vector<QWidget*> order;
        for (RuleCard* card : cards_) {
            const auto stops = FocusOrder::stops(card);
            order.insert(order.end(), stops.begin(), stops.end());
        }
        order.push_back(addRule_);
        FocusOrder::chain(order);
    }
    refreshCards();
    // A rule the user added (or duplicated) comes into view.
    if (addedCount == 1 && !firstBuild) {
        QTimer::singleShot(0, added, [this, added] { scroll_->ensureWidgetVisible(added, 0, 10); });
    }
}

void RulePanel::refreshCards() {
    const WindowRules& rules = model_.rules();
    const std::vector<RuleFigures> figures = rules.ruleFigures();
    for (std::size_t index = 0; index < cards_.size() && index < rules.entries().size(); ++index) {
        cards_[index]->refresh(rules.entries()[index], figures[index]);
    }
    active_->setText(toQString(rules.activeRulesText()));
    expand_->setText(toQString(rules.expandAllTitle()));
    expand_->setEnabled(rules.canExpandOrCollapseAll());

    const auto names = model_.preview().selectedNames();
    names_->setVisible(names.has_value());
    if (names) {
        original_->setFullText(toQString(names->original));
        result_->setFullText(toQString(names->result));
    }
}

QString RulePanel::originalName() const {
    return names_->isHidden() ? QString() : original_->fullText();
}

QString RulePanel::resultName() const {
    return names_->isHidden() ? QString() : result_->fullText();
}

void RulePanel::fillAddMenu() {
    addMenu_->clear();
    for (const RuleKind kind : allRuleKinds) {
        addMenu_->addAction(toQString(morvane::title(kind)), this,
                            [this, kind] { model_.rules().addRule(kind); });
    }
}

void RulePanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void RulePanel::retranslate() {
    title_->setText(ui("Rules"));
    expand_->setToolTip(ui("Collapse or expand all rules"));
    expand_->setAccessibleName(ui("Collapse or expand all rules"));
    addRule_->setText(ui("Add Rule"));
    addRule_->setAccessibleName(ui("Add Rule"));
    originalTitle_->setText(ui("Original"));
    resultTitle_->setText(ui("Result"));
    fillAddMenu();
    refreshCards();
}

} // namespace morvane::app
