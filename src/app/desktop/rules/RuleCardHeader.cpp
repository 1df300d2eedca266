#include "app/desktop/rules/RuleCardHeader.h"

#include "app/desktop/ElidedLabel.h"
#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/desktop/rules/EditorControls.h"
#include "app/model/WindowRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace morvane::app {
namespace {

// The grip a card is dragged by.
class DragHandle final : public QWidget {
public:
    explicit DragHandle(std::function<void()> started)
        : started_(std::move(started)), icon_(Icons::symbol("line.3.horizontal")) {
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
        setFixedSize(size, size);
        setCursor(Qt::OpenHandCursor);
        setForegroundRole(QPalette::PlaceholderText);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setOpacity(0.55);
        icon_.paint(&painter, rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            pressedAt_ = event->position().toPoint();
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if ((event->buttons() & Qt::LeftButton) &&
            (event->position().toPoint() - pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
            started_();
        }
    }

private:
    std::function<void()> started_;
    QIcon icon_;
    QPoint pressedAt_;
};

} // namespace

RuleCardHeader::RuleCardHeader(WindowRules& model, const Uuid& id, QWidget* parent)
    : QWidget(parent), model_(model), id_(id), handle_(new DragHandle([this] { emit dragStarted(); })),
      enabled_(new QCheckBox), number_(new QLabel), title_(new QLabel), menuButton_(new QToolButton),
      chevron_(new QToolButton), summary_(new ElidedLabel), resultRow_(new QWidget),
      result_(new ElidedLabel(Qt::ElideMiddle)), menu_(new QMenu(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(1);
    number_->setForegroundRole(QPalette::PlaceholderText);
    number_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00")));
    number_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    summary_->setForegroundRole(QPalette::PlaceholderText);
    summary_->setObjectName("summary");

    for (QToolButton* button : {menuButton_, chevron_}) {
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    menuButton_->setIcon(Icons::symbol("ellipsis"));
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    menuButton_->setMenu(menu_);
    menuButton_->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    menuButton_->setObjectName("cardMenu");
    chevron_->setObjectName("chevron");

    auto* result = new QHBoxLayout(resultRow_);
    result->setContentsMargins(0, 0, 0, 0);
    result->setSpacing(4);
    result->addWidget(EditorControls::symbol("arrow.right"));
    result->addWidget(result_, 1);
    result_->setObjectName("runningResult");

    layout->addWidget(handle_, 0, 0);
    layout->addWidget(enabled_, 0, 1);
    layout->addWidget(number_, 0, 2);
    layout->addWidget(title_, 0, 3);
    layout->addWidget(menuButton_, 0, 4);
    layout->addWidget(chevron_, 0, 5);
    layout->addWidget(summary_, 1, 3, 1, 3);
    layout->addWidget(resultRow_, 2, 3, 1, 3);
    layout->setColumnStretch(3, 1);

    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) { model_.setEnabled(id_, on); });
    connect(chevron_, &QToolButton::clicked, this, [this] { model_.setExpanded(id_, !expanded_); });
    makeMenu();
    toggle_->setText(ui("Disable Rule"));
    retranslate();
}

void RuleCardHeader::makeMenu() {
    moveUp_ = menu_->addAction(QString(), this, [this] { model_.move(id_, -1); });
    moveDown_ = menu_->addAction(QString(), this, [this] { model_.move(id_, +1); });
    menu_->addSeparator();
    toggle_ = menu_->addAction(QString(), this, [this] { model_.setEnabled(id_, !isEnabled_); });
    duplicate_ = menu_->addAction(QString(), this, [this] { model_.duplicate(id_); });
    reset_ = menu_->addAction(QString(), this, [this] { emit resetRequested(); });
    menu_->addSeparator();
    delete_ = menu_->addAction(QString(), this, [this] { model_.deleteRule(id_); });
}

void RuleCardHeader::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

// The texts of its own; those about the rule come with every refresh.
void RuleCardHeader::retranslate() {
    enabled_->setAccessibleName(ui("Enabled"));
    enabled_->setToolTip(ui("Enabled"));
    menuButton_->setAccessibleName(ui("Rule Actions"));
    menuButton_->setToolTip(ui("Rule Actions"));
    handle_->setToolTip(ui("Drag to reorder"));
    moveUp_->setText(ui("Move Up"));
    moveDown_->setText(ui("Move Down"));
    duplicate_->setText(ui("Duplicate"));
    reset_->setText(ui("Reset to Defaults"));
    delete_->setText(ui("Delete Rule"));
    showChevron();
}

// Down when open, to the right when closed.
void RuleCardHeader::showChevron() {
    chevron_->setIcon(Icons::rotatedSymbol("chevron.down", expanded_ ? 0 : -90));
    const QString help = expanded_ ? ui("Collapse") : ui("Expand");
    chevron_->setToolTip(help);
    chevron_->setAccessibleName(help);
}

void RuleCardHeader::refresh(const RuleEntry& entry, const RuleFigures& figures) {
    expanded_ = entry.isExpanded;
    isEnabled_ = entry.isEnabled;
    EditorControls::showChecked(enabled_, entry.isEnabled);
    EditorControls::showText(number_, QString::number(figures.number));
    EditorControls::showText(title_, toQString(figures.title));
    title_->setEnabled(entry.isEnabled);
    const QString summary = toQString(figures.summaryLine);
    if (summary_->fullText() != summary) {
        summary_->setFullText(summary);
    }
    EditorControls::showVisible(resultRow_, figures.runningResult.has_value());
    if (figures.runningResult && result_->fullText() != toQString(*figures.runningResult)) {
        result_->setFullText(toQString(*figures.runningResult));
    }
    if (chevronShown_ != static_cast<int>(entry.isExpanded)) {
        chevronShown_ = static_cast<int>(entry.isExpanded);
        showChevron();
    }
    moveUp_->setEnabled(figures.canMoveUp);
    moveDown_->setEnabled(figures.canMoveDown);
    toggle_->setText(toQString(figures.toggleTitle));
}

QString RuleCardHeader::summaryText() const {
    return summary_->fullText();
}

QString RuleCardHeader::resultText() const {
    return resultRow_->isHidden() ? QString() : result_->fullText();
}

} // namespace morvane::app
