#include "app/desktop/RuleCardHeader.h"

#include "app/desktop/ElidedLabel.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace morvane::app {

RuleCardHeader::RuleCardHeader(AppModel& model, const Uuid& id, QWidget* parent)
    : QFrame(parent), model_(model), id_(id), number_(new QLabel), title_(new QLabel),
      summary_(new ElidedLabel), enabled_(new QCheckBox) {
    setObjectName("ruleCard");
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(2);
    number_->setMinimumWidth(fontMetrics().horizontalAdvance("00"));
    number_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    number_->setForegroundRole(QPalette::PlaceholderText);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    summary_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(number_, 0, 0);
    layout->addWidget(title_, 0, 1);
    layout->addWidget(enabled_, 0, 2, Qt::AlignRight);
    layout->addWidget(summary_, 1, 1, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) { model_.setEnabled(id_, on); });
    refresh();
}

QString RuleCardHeader::summaryText() const {
    return summary_->fullText();
}

void RuleCardHeader::refresh() {
    const auto index = std::find_if(model_.rules().begin(), model_.rules().end(),
                                    [&](const RuleEntry& entry) { return entry.id == id_; });
    if (index == model_.rules().end()) {
        return;
    }
    const RuleFigures figures = model_.figures(id_);
    number_->setText(QString::number(figures.number));
    title_->setText(toQString(morvane::title(kindOf(index->rule))));
    summary_->setFullText(toQString(figures.summaryLine));
    const QSignalBlocker blocker(enabled_);
    enabled_->setChecked(index->isEnabled);
    enabled_->setAccessibleName(ui("Enabled"));
    setAccessibleName(title_->text());
    setAccessibleDescription(summary_->fullText());
}

} // namespace morvane::app
