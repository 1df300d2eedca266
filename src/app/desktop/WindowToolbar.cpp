#include "app/desktop/WindowToolbar.h"

#include "app/desktop/Commands.h"
#include "app/desktop/ElidedLabel.h"
#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::app {

WindowToolbar::WindowToolbar(AppModel& model, const Commands& commands, QWidget* parent)
    : QToolBar(parent), model_(model), commands_(commands), title_(new ElidedLabel),
      subtitle_(new ElidedLabel(Qt::ElideMiddle)), filter_(new QLineEdit), criteria_(new QToolButton),
      highlight_(new QToolButton) {
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
    WindowItems& items = model_.items();
    connect(filter_, &QLineEdit::textEdited, this,
            [&items](const QString& text) { items.setSearchText(fromQString(text)); });
    connect(&items, &WindowItems::searchTextChanged, this, [this, &items] {
        if (fromQString(filter_->text()) != items.searchText()) {
            filter_->setText(toQString(items.searchText()));
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
    connect(criteria_, &QToolButton::clicked, commands_.action("toggleCriteria"), &QAction::trigger);
    connect(highlight_, &QToolButton::clicked, commands_.action("highlightChanges"), &QAction::trigger);

    connect(&items, &WindowItems::titleChanged, this, &WindowToolbar::showTitle);
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
    title_->setFullText(toQString(model_.items().title()));
    const QString subtitle = toQString(model_.items().subtitle());
    subtitle_->setFullText(subtitle);
    subtitle_->setVisible(!subtitle.isEmpty());
}

void WindowToolbar::showState() {
    criteria_->setChecked(model_.criteria() == CriteriaMode::docked);
    highlight_->setChecked(model_.settings().highlightChanges());
}

void WindowToolbar::changeEvent(QEvent* event) {
    QToolBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

// The shortcuts named are those of the commands, as the platform writes them.
void WindowToolbar::retranslate() {
    setWindowTitle(ui("Toolbar"));
    filter_->setPlaceholderText(ui("Filter"));
    filter_->setAccessibleName(ui("Filter"));
    criteria_->setToolTip(
        uiFormat("Hide or Show Renaming Criteria (%@)",
                 fromQString(nativeShortcut(commands_.action("toggleCriteria")->shortcut()))));
    criteria_->setAccessibleName(ui("Renaming Criteria"));
    highlight_->setToolTip(
        uiFormat("Highlight Filename Changes (%@)",
                 fromQString(nativeShortcut(commands_.action("highlightChanges")->shortcut()))));
    highlight_->setAccessibleName(ui("Highlight Filename Changes"));
    showTitle();
}

} // namespace morvane::app
