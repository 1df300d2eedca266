#include "app/desktop/WindowToolbar.h"

#include "app/desktop/ElidedLabel.h"
#include "app/desktop/Icons.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::app {

WindowToolbar::WindowToolbar(AppModel& model, QWidget* parent)
    : QToolBar(parent), model_(model), title_(new ElidedLabel), subtitle_(new ElidedLabel(Qt::ElideMiddle)),
      filter_(new QLineEdit), criteria_(new QToolButton), highlight_(new QToolButton) {
    setMovable(false);
    setFloatable(false);
    setObjectName("toolbar");
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    auto* titles = new QWidget;
    auto* titleLayout = new QVBoxLayout(titles);
    titleLayout->setContentsMargins(8, 2, 8, 2);
    titleLayout->setSpacing(0);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.1);
    title_->setFont(titleFont);
    subtitle_->setForegroundRole(QPalette::PlaceholderText);
    titleLayout->addWidget(title_);
    titleLayout->addWidget(subtitle_);
    titles->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(titles);

    filter_->setClearButtonEnabled(true);
    filter_->addAction(Icons::symbol("magnifyingglass"), QLineEdit::LeadingPosition);
    filter_->setMinimumWidth(180);
    filter_->setMaximumWidth(280);
    filterAction_ = addWidget(filter_);
    connect(filter_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.setSearchText(fromQString(text)); });
    connect(&model_, &AppModel::searchTextChanged, this, [this] {
        if (fromQString(filter_->text()) != model_.searchText()) {
            filter_->setText(toQString(model_.searchText()));
        }
    });

    for (QToolButton* button : {criteria_, highlight_}) {
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    criteria_->setIcon(Icons::symbol("sidebar.right"));
    highlight_->setIcon(Icons::symbol("highlighter"));
    addSeparator();
    addWidget(criteria_);
    addWidget(highlight_);
    connect(criteria_, &QToolButton::clicked, this, [this] { model_.toggleCriteria(); });
    connect(highlight_, &QToolButton::clicked, this,
            [this] { model_.settings().setHighlightChanges(!model_.settings().highlightChanges()); });

    connect(&model_, &AppModel::titleChanged, this, &WindowToolbar::showTitle);
    connect(&model_, &AppModel::criteriaChanged, this, &WindowToolbar::showState);
    connect(&model_.settings(), &AppSettings::highlightChangesChanged, this, &WindowToolbar::showState);
    showTitle();
    showState();
    retranslate();
}

void WindowToolbar::addBeforeFilter(QWidget* widget) {
    insertWidget(filterAction_, widget);
}

void WindowToolbar::showTitle() {
    title_->setFullText(toQString(model_.title()));
    const QString subtitle = toQString(model_.subtitle());
    subtitle_->setFullText(subtitle);
    subtitle_->setVisible(!subtitle.isEmpty());
}

void WindowToolbar::showState() {
    criteria_->setChecked(model_.criteria() == CriteriaMode::docked);
    highlight_->setChecked(model_.settings().highlightChanges());
}

void WindowToolbar::retranslate() {
    setWindowTitle(ui("Toolbar"));
    filter_->setPlaceholderText(ui("Filter"));
    filter_->setAccessibleName(ui("Filter"));
    criteria_->setToolTip(
        uiFormat("Hide or Show Renaming Criteria (%@)", fromQString(nativeShortcut(Shortcuts::criteria()))));
    criteria_->setAccessibleName(ui("Renaming Criteria"));
    highlight_->setToolTip(
        uiFormat("Highlight Filename Changes (%@)", fromQString(nativeShortcut(Shortcuts::highlight()))));
    highlight_->setAccessibleName(ui("Highlight Filename Changes"));
    showTitle();
}

} // namespace morvane::app
