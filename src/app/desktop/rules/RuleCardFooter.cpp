#include "app/desktop/rules/RuleCardFooter.h"

#include "app/desktop/UiText.h"
#include "app/desktop/rules/EditorControls.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

RuleCardFooter::RuleCardFooter(QWidget* parent)
    : QWidget(parent), symbol_(EditorControls::symbol("exclamationmark.triangle.fill")), title_(new QLabel),
      detail_(new QLabel), reset_(new QPushButton) {
    setObjectName("ruleFooter");
    // The title beside the button; an error's message under both, full width.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    for (QLabel* label : {title_, detail_}) {
        label->setWordWrap(true);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    title_->setTextFormat(Qt::RichText);
    detail_->setTextFormat(Qt::PlainText);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reset_->setAutoDefault(false);
    layout->addWidget(symbol_, 0, 0, Qt::AlignVCenter);
    layout->addWidget(title_, 0, 1);
    layout->addWidget(reset_, 0, 2, Qt::AlignVCenter);
    layout->addWidget(detail_, 1, 1, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(reset_, &QPushButton::clicked, this, &RuleCardFooter::resetRequested);
    retranslate();
}

void RuleCardFooter::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void RuleCardFooter::retranslate() {
    reset_->setText(ui("Reset"));
}

void RuleCardFooter::refresh(const RuleFigures& figures) {
    const QString title = toQString(figures.footerTitle);
    const QString detail = toQString(figures.footerDetail);
    const bool error = figures.error.has_value();
    if (title == titleText_ && detail == detailText_ && error == error_) {
        return;
    }
    titleText_ = title;
    detailText_ = detail;
    error_ = error;
    EditorControls::showVisible(symbol_, error);
    EditorControls::showVisible(detail_, error);
    if (error) {
        title_->setText(QString("<b>%1</b>").arg(title.toHtmlEscaped()));
        detail_->setText(detail);
    } else {
        // "N of M" stands out from the words that follow it.
        title_->setText(QString("<b>%1</b>%2").arg(title.toHtmlEscaped(), detail.toHtmlEscaped()));
    }
    title_->setForegroundRole(error ? QPalette::WindowText : QPalette::PlaceholderText);
    setAccessibleName(text());
}

} // namespace morvane::app
