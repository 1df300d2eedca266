#include "app/desktop/rules/RuleCardList.h"

#include "app/desktop/rules/RuleCard.h"
#include "app/model/WindowRules.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace morvane::app {

RuleCardList::RuleCardList(WindowRules& model, QWidget* parent)
    : QWidget(parent), model_(model), layout_(new QVBoxLayout(this)) {
    setObjectName("ruleCardList");
    setAcceptDrops(true);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(8);
}

void RuleCardList::arrange(const std::vector<RuleCard*>& cards) {
    for (std::size_t index = 0; index < cards.size(); ++index) {
        if (layout_->indexOf(cards[index]) != static_cast<int>(index)) {
            layout_->removeWidget(cards[index]);
            layout_->insertWidget(static_cast<int>(index), cards[index]);
            cards[index]->show();
        }
    }
    cards_ = cards;
}

std::size_t RuleCardList::destinationAt(int y) const {
    for (std::size_t index = 0; index < cards_.size(); ++index) {
        const QRect area = cards_[index]->geometry();
        if (y < area.center().y()) {
            return index;
        }
    }
    return cards_.size();
}

bool RuleCardList::accepts(const QMimeData* dragged) const {
    const auto id = RuleCard::draggedRule(dragged);
    if (!id) {
        return false;
    }
    // Only cards of this window's list.
    const auto& rules = model_.entries();
    return std::any_of(rules.begin(), rules.end(), [&](const RuleEntry& entry) { return entry.id == *id; });
}

void RuleCardList::dragEnterEvent(QDragEnterEvent* event) {
    if (!accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    indicator_ = destinationAt(event->position().toPoint().y());
    update();
}

void RuleCardList::dragMoveEvent(QDragMoveEvent* event) {
    if (!accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const std::size_t destination = destinationAt(event->position().toPoint().y());
    if (indicator_ != destination) {
        indicator_ = destination;
        update();
    }
}

void RuleCardList::dragLeaveEvent(QDragLeaveEvent* event) {
    indicator_.reset();
    update();
    QWidget::dragLeaveEvent(event);
}

void RuleCardList::dropEvent(QDropEvent* event) {
    indicator_.reset();
    update();
    const auto id = RuleCard::draggedRule(event->mimeData());
    if (!id || !accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    model_.placeRule(*id, destinationAt(event->position().toPoint().y()));
}

void RuleCardList::paintEvent(QPaintEvent*) {
    if (!indicator_ || cards_.empty()) {
        return;
    }
    // A line in the gap the card would drop into.
    const int gap = layout_->spacing();
    const int y = *indicator_ < cards_.size() ? cards_[*indicator_]->geometry().top() - gap / 2
                                              : cards_.back()->geometry().bottom() + gap / 2;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, y), QPointF(width() - 4, y));
}

} // namespace morvane::app
