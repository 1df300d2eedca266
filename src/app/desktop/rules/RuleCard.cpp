#include "app/desktop/rules/RuleCard.h"

#include "app/desktop/MV.h"
#include "app/desktop/rules/FocusOrder.h"
#include "app/desktop/rules/RuleCardFooter.h"
#include "app/desktop/rules/RuleCardHeader.h"
#include "app/desktop/rules/RuleEditor.h"
#include "app/model/WindowRules.h"

#include <QDrag>
#include <QEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>

namespace morvane::app {

RuleCard::RuleCard(WindowRules& model, const Uuid& id, QWidget* parent)
    : QFrame(parent), model_(model), id_(id), layout_(new QVBoxLayout(this)),
      header_(new RuleCardHeader(model, id)), footer_(new RuleCardFooter) {
    setObjectName("ruleCard");
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout_->setContentsMargins(10, 8, 10, 8);
    layout_->setSpacing(10);
    layout_->addWidget(header_);
    layout_->addWidget(footer_);
    connect(header_, &RuleCardHeader::dragStarted, this, &RuleCard::startDrag);
    connect(header_, &RuleCardHeader::resetRequested, this, &RuleCard::reset);
    connect(footer_, &RuleCardFooter::resetRequested, this, &RuleCard::reset);
}

void RuleCard::refresh(const RuleEntry& entry, const RuleFigures& figures) {
    header_->refresh(entry, figures);
    if (editor_ != nullptr && (!entry.isExpanded || kindOf(entry.rule) != editorKind_)) {
        dropEditor();
    }
    if (entry.isExpanded) {
        if (editor_ == nullptr) {
            editor_ = RuleEditor::make(model_, entry, figures);
            editorKind_ = kindOf(entry.rule);
            layout_->insertWidget(1, editor_);
            editor_->show(); // at once, not when the event loop gets to it
            // Tab goes from the head through the editor to the foot.
            std::vector<QWidget*> order = FocusOrder::stops(header_);
            for (QWidget* part : {static_cast<QWidget*>(editor_), static_cast<QWidget*>(footer_)}) {
                const auto stops = FocusOrder::stops(part);
                order.insert(order.end(), stops.begin(), stops.end());
            }
            FocusOrder::chain(order);

        } else {
            editor_->refresh(entry, figures);
        }
        footer_->refresh(figures);
    }
    if (footer_->isHidden() == entry.isExpanded) {
        footer_->setVisible(entry.isExpanded);
    }
    setAccessibleName(toQString(figures.title));
    setAccessibleDescription(toQString(figures.summaryLine));
}

void RuleCard::dropEditor() {
    // Not deleted at once: the signal that closed it may come from inside it.
    editor_->hide();
    layout_->removeWidget(editor_);
    editor_->deleteLater();
    editor_ = nullptr;
}

void RuleCard::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && editor_ != nullptr) {
        dropEditor();
        const auto& entries = model_.entries();
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [this](const RuleEntry& candidate) { return candidate.id == id_; });
        if (entry != entries.end()) {
            refresh(*entry, model_.figures(id_));
        }
    }
}

// Reset to the defaults shows the editor as it first was (list mode included).
void RuleCard::reset() {
    if (editor_ != nullptr) {
        dropEditor();
    }
    model_.reset(id_);
}

QMimeData* RuleCard::dragData() const {
    auto* dragged = new QMimeData;
    dragged->setData(mimeType, QByteArray::fromStdString(id_.text()));
    return dragged;
}

std::optional<Uuid> RuleCard::draggedRule(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(mimeType)) {
        return std::nullopt;
    }
    return Uuid::parse(data->data(mimeType).toStdString());
}

void RuleCard::startDrag() {
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData());
    QPixmap picture = grab();
    drag->setPixmap(picture);
    drag->setHotSpot(header_->handle()->geometry().center() + header_->pos());
    drag->exec(Qt::MoveAction);
}

void RuleCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colors = palette();
    const bool dark = MV::isDark(colors);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    painter.fillPath(card, colors.color(dark ? QPalette::Button : QPalette::Base));
    QColor border = colors.color(QPalette::WindowText);
    border.setAlpha(dark ? 40 : 30);
    painter.setPen(QPen(border, 1));
    painter.drawPath(card);
    if (editor_ != nullptr && !footer_->isHidden()) {
        // A hairline between the settings and their effect.
        const int y = footer_->geometry().top() - layout_->spacing() / 2;
        painter.drawLine(QPointF(10, y + 0.5), QPointF(width() - 10, y + 0.5));
    }
}

} // namespace morvane::app
