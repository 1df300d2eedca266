#include "app/desktop/RulePanel.h"

#include "app/desktop/Icons.h"
#include "app/desktop/RuleCardHeader.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace morvane::app {

RulePanel::RulePanel(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), title_(new QLabel), active_(new QLabel), expand_(new QToolButton),
      cardsLayout_(new QVBoxLayout), addRule_(new QToolButton), addMenu_(new QMenu(this)) {
    setObjectName("rulePanel");
    setMinimumWidth(240);
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
    connect(expand_, &QToolButton::clicked, this, [this] {
        const auto& rules = model_.rules();
        model_.setAllExpanded(!std::any_of(rules.begin(), rules.end(),
                                           [](const RuleEntry& entry) { return entry.isExpanded; }));
    });

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* cards = new QWidget;
    cards->setObjectName("ruleCards");
    auto* cardsColumn = new QVBoxLayout(cards);
    cardsColumn->setContentsMargins(10, 0, 10, 10);
    cardsColumn->setSpacing(8);
    cardsLayout_->setSpacing(8);
    cardsColumn->addLayout(cardsLayout_);
    addRule_->setIcon(Icons::symbol("plus"));
    addRule_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addRule_->setPopupMode(QToolButton::InstantPopup);
    addRule_->setMenu(addMenu_);
    addRule_->setFocusPolicy(Qt::StrongFocus);
    cardsColumn->addWidget(addRule_, 0, Qt::AlignLeft);
    cardsColumn->addStretch(1);
    scroll->setWidget(cards);
    layout->addWidget(scroll, 1);

    connect(&model_, &AppModel::rulesChanged, this, &RulePanel::rebuildCards);
    connect(&model_, &AppModel::planChanged, this, &RulePanel::refreshCards);
    connect(&model_, &AppModel::selectionChanged, this, &RulePanel::refreshCards);
    rebuildCards();
    retranslate();
}

// Cards are kept while the list holds the same entries in the same order, so
// the focus stays on a switch the user just toggled.
void RulePanel::rebuildCards() {
    const auto& rules = model_.rules();
    const bool same =
        rules.size() == cards_.size() &&
        std::equal(rules.begin(), rules.end(), cards_.begin(),
                   [](const RuleEntry& entry, const RuleCardHeader* card) { return entry.id == card->id(); });
    if (!same) {
        // Not deleted at once: the signal may come from a card's own switch.
        for (RuleCardHeader* card : cards_) {
            card->hide();
            cardsLayout_->removeWidget(card);
            card->deleteLater();
        }
        cards_.clear();
        for (const RuleEntry& entry : rules) {
            auto* card = new RuleCardHeader(model_, entry.id);
            cardsLayout_->addWidget(card);
            cards_.push_back(card);
        }
    }
    refreshCards();
}

void RulePanel::refreshCards() {
    for (RuleCardHeader* card : cards_) {
        card->refresh();
    }
    active_->setText(toQString(model_.activeRulesText()));
    const auto& rules = model_.rules();
    const bool anyExpanded =
        std::any_of(rules.begin(), rules.end(), [](const RuleEntry& entry) { return entry.isExpanded; });
    expand_->setText(anyExpanded ? ui("Collapse All") : ui("Expand All"));
    expand_->setEnabled(!rules.empty());
}

void RulePanel::fillAddMenu() {
    addMenu_->clear();
    for (const RuleKind kind : allRuleKinds) {
        addMenu_->addAction(toQString(morvane::title(kind)), this, [this, kind] { model_.addRule(kind); });
    }
}

void RulePanel::retranslate() {
    title_->setText(ui("Rules"));
    expand_->setToolTip(ui("Collapse or expand all rules"));
    expand_->setAccessibleName(ui("Collapse or expand all rules"));
    addRule_->setText(ui("Add Rule"));
    addRule_->setAccessibleName(ui("Add Rule"));
    fillAddMenu();
    refreshCards();
}

} // namespace morvane::app
