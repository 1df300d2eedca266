#include "app/desktop/WelcomeSheet.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/model/AppSettings.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {
namespace {

const struct {
    const char* symbol;
    const char* title;
    const char* text;
} steps[] = {
    {"folder", "Open a folder", "Or drop files and folders onto the window."},
    {"plus", "Add rules", "Replace, case, counters, dates, regular expressions\u2026 they apply in order."},
    {"checkmark", "Rename", "Review the preview, confirm, and undo any time."},
};

} // namespace

WelcomeSheet::WelcomeSheet(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), title_(new QLabel), lead_(new QLabel), start_(new QPushButton) {
    setObjectName("welcome");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 24);
    layout->setSpacing(8);

    auto* icon = new QLabel;
    icon->setPixmap(Icons::application().pixmap(72, 72));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setAlignment(Qt::AlignCenter);
    layout->addWidget(title_);
    lead_->setWordWrap(true);
    lead_->setAlignment(Qt::AlignCenter);
    lead_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(lead_);
    layout->addSpacing(14);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(12);
    int row = 0;
    for (const auto& step : steps) {
        auto* symbol = new QLabel;
        symbol->setPixmap(Icons::symbol(step.symbol, palette().color(QPalette::Highlight)).pixmap(26, 26));
        symbol->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        auto* text = new QLabel;
        text->setWordWrap(true);
        text->setMinimumWidth(340);
        grid->addWidget(symbol, row, 0);
        grid->addWidget(text, row, 1);
        steps_.push_back(text);
        ++row;
    }
    layout->addLayout(grid);
    layout->addSpacing(18);
    start_->setDefault(true);
    start_->setMinimumWidth(160);
    layout->addWidget(start_, 0, Qt::AlignCenter);
    connect(start_, &QPushButton::clicked, this, [this] {
        settings_.setWelcomeSeen(true);
        accept(); // the window's binding turns showWelcome off
    });
    retranslate();
}

void WelcomeSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void WelcomeSheet::retranslate() {
    setWindowTitle(ui("Welcome to Morvane"));
    title_->setText(ui("Welcome to Morvane"));
    lead_->setText(ui("Rename many files at once, and see every new name before anything changes."));
    for (std::size_t index = 0; index < steps_.size(); ++index) {
        steps_[index]->setText(
            QString("<b>%1</b><br>%2")
                .arg(ui(steps[index].title).toHtmlEscaped(), ui(steps[index].text).toHtmlEscaped()));
    }
    start_->setText(ui("Get Started"));
}

} // namespace morvane::app
