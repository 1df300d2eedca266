#include "app/desktop/WelcomeSheet.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {

WelcomeSheet::WelcomeSheet(AppModel& model, QWidget* parent)
    : QDialog(parent), model_(model), start_(new QPushButton(ui("Get Started"))) {
    setObjectName("welcome");
    setWindowTitle(ui("Welcome to Morvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 24);
    layout->setSpacing(8);

    auto* icon = new QLabel;
    icon->setPixmap(Icons::application().pixmap(72, 72));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto* title = new QLabel(ui("Welcome to Morvane"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* lead = new QLabel(ui("Rename many files at once, and see every new name before anything changes."));
    lead->setWordWrap(true);
    lead->setAlignment(Qt::AlignCenter);
    lead->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(lead);
    layout->addSpacing(14);

    const struct {
        const char* symbol;
        const char* title;
        const char* text;
    } steps[] = {
        {"folder", "Open a folder", "Or drop files and folders onto the window."},
        {"plus", "Add rules",
         "Replace, case, counters, dates, regular expressions\u2026 they apply in order."},
        {"checkmark", "Rename", "Review the preview, confirm, and undo any time."},
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(12);
    int row = 0;
    for (const auto& step : steps) {
        auto* symbol = new QLabel;
        symbol->setPixmap(Icons::symbol(step.symbol, palette().color(QPalette::Highlight)).pixmap(26, 26));
        symbol->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        auto* text = new QLabel(
            QString("<b>%1</b><br>%2").arg(ui(step.title).toHtmlEscaped(), ui(step.text).toHtmlEscaped()));
        text->setWordWrap(true);
        text->setMinimumWidth(340);
        grid->addWidget(symbol, row, 0);
        grid->addWidget(text, row, 1);
        ++row;
    }
    layout->addLayout(grid);
    layout->addSpacing(18);
    start_->setDefault(true);
    start_->setMinimumWidth(160);
    layout->addWidget(start_, 0, Qt::AlignCenter);
    connect(start_, &QPushButton::clicked, this, [this] {
        model_.settings().setWelcomeSeen(true);
        accept(); // the window's binding turns showWelcome off
    });
}

} // namespace morvane::app
