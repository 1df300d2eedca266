#include "app/desktop/SettingsWindow.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/desktop/Updater.h"
#include "app/model/AppSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace morvane::app {
namespace {

QLabel* note() {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QVBoxLayout* pane(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(8);
    return layout;
}

} // namespace

SettingsWindow::SettingsWindow(AppSettings& settings, Updater& updater, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), updater_(updater), tabs_(new QTabWidget),
      highlight_(new QCheckBox), runningResult_(new QCheckBox), quitAfterLast_(new QCheckBox),
      autoCheck_(new QCheckBox), autoDownload_(new QCheckBox), updateNote_(note()), welcome_(new QPushButton),
      historyNote_(note()), appearance_(new QButtonGroup(this)), appearanceNote_(note()),
      languageLead_(new QLabel), language_(new QComboBox) {
    setObjectName("settings");
    setWindowIcon(Icons::application());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(tabs_);
    tabs_->addTab(makeGeneral(), QString());
    tabs_->addTab(makeAppearance(), QString());
    tabs_->addTab(makeLanguage(), QString());
    setMinimumWidth(520);

    connect(highlight_, &QCheckBox::toggled, &settings_, &AppSettings::setHighlightChanges);
    connect(runningResult_, &QCheckBox::toggled, &settings_, &AppSettings::setShowRunningResult);
    connect(quitAfterLast_, &QCheckBox::toggled, &settings_, &AppSettings::setQuitAfterLastWindow);
    connect(autoCheck_, &QCheckBox::toggled, this, [this](bool on) { updater_.setAutomaticChecks(on); });
    connect(autoDownload_, &QCheckBox::toggled, this,
            [this](bool on) { updater_.setAutomaticDownloads(on); });
    connect(welcome_, &QPushButton::clicked, &settings_, &AppSettings::requestWelcome);
    connect(appearance_, &QButtonGroup::idClicked, this,
            [this](int id) { settings_.setAppearance(allAppearanceChoices[static_cast<std::size_t>(id)]); });
    connect(language_, &QComboBox::activated, this, [this](int index) {
        settings_.setLanguagePreference(fromQString(language_->itemData(index).toString()));
    });

    for (auto signal : {&AppSettings::highlightChangesChanged, &AppSettings::showRunningResultChanged,
                        &AppSettings::quitAfterLastWindowChanged, &AppSettings::appearanceChanged,
                        &AppSettings::languagePreferenceChanged, &AppSettings::automaticUpdateChecksChanged,
                        &AppSettings::automaticUpdateDownloadsChanged}) {
        connect(&settings_, signal, this, &SettingsWindow::showSettings);
    }
    retranslate();
    showSettings();
}

QWidget* SettingsWindow::makeGeneral() {
    auto* widget = new QWidget;
    QVBoxLayout* layout = pane(widget);
    for (QCheckBox* toggle : {highlight_, runningResult_, quitAfterLast_}) {
        layout->addWidget(toggle);
    }
    layout->addSpacing(8);
    layout->addWidget(autoCheck_);
    layout->addWidget(autoDownload_);
    layout->addWidget(updateNote_);
    const bool applies = updater_.choicesApply();
    autoCheck_->setEnabled(applies);
    autoDownload_->setEnabled(applies);
    updateNote_->setVisible(!applies);
    layout->addSpacing(8);
    layout->addWidget(welcome_, 0, Qt::AlignLeft);
    layout->addSpacing(8);
    historyNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(historyNote_);
    layout->addStretch(1);
    return widget;
}

QWidget* SettingsWindow::makeAppearance() {
    auto* widget = new QWidget;
    QVBoxLayout* layout = pane(widget);
    for (std::size_t id = 0; id < allAppearanceChoices.size(); ++id) {
        auto* choice = new QRadioButton;
        appearance_->addButton(choice, static_cast<int>(id));
        layout->addWidget(choice);
    }
    layout->addSpacing(4);
    layout->addWidget(appearanceNote_);
    layout->addStretch(1);
    return widget;
}

QWidget* SettingsWindow::makeLanguage() {
    auto* widget = new QWidget;
    QVBoxLayout* layout = pane(widget);
    languageLead_->setWordWrap(true);
    layout->addWidget(languageLead_);
    layout->addWidget(language_, 0, Qt::AlignLeft);
    language_->setMinimumWidth(220);
    layout->addStretch(1);
    return widget;
}

void SettingsWindow::showSettings() {
    const QSignalBlocker blockers[] = {QSignalBlocker(highlight_), QSignalBlocker(runningResult_),
                                       QSignalBlocker(quitAfterLast_), QSignalBlocker(autoCheck_),
                                       QSignalBlocker(autoDownload_)};
    highlight_->setChecked(settings_.highlightChanges());
    runningResult_->setChecked(settings_.showRunningResult());
    quitAfterLast_->setChecked(settings_.quitAfterLastWindow());
    autoCheck_->setChecked(updater_.automaticChecks());
    autoDownload_->setChecked(updater_.automaticDownloads());
    for (std::size_t id = 0; id < allAppearanceChoices.size(); ++id) {
        appearance_->button(static_cast<int>(id))
            ->setChecked(allAppearanceChoices[id] == settings_.appearance());
    }
    const int chosen = language_->findData(toQString(settings_.languagePreference()));
    language_->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

void SettingsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void SettingsWindow::retranslate() {
    setWindowTitle(ui("Settings"));
    tabs_->setTabText(0, ui("General"));
    tabs_->setTabText(1, ui("Appearance"));
    tabs_->setTabText(2, ui("Language"));
    highlight_->setText(ui("Highlight filename changes"));
    runningResult_->setText(ui("Show the running result on collapsed rules"));
    quitAfterLast_->setText(ui("Quit when the last window closes"));
    autoCheck_->setText(ui("Check for updates automatically"));
    autoDownload_->setText(ui("Download and install automatically"));
    updateNote_->setText(updater_.note());
    welcome_->setText(ui("Show the Welcome Window Again"));
    historyNote_->setText(toQString(AppSettings::historyNote()));
    for (std::size_t id = 0; id < allAppearanceChoices.size(); ++id) {
        appearance_->button(static_cast<int>(id))->setText(toQString(label(allAppearanceChoices[id])));
    }
    appearanceNote_->setText(ui("System follows the desktop\u2019s light or dark setting."));
    languageLead_->setText(ui("Choose the language of Morvane."));
    language_->setAccessibleName(ui("Language"));
    {
        const QSignalBlocker blocker(language_);
        language_->clear();
        language_->addItem(ui("Same as the system"), QString(AppSettings::systemLanguage));
        for (const AppLanguage& language : AppLanguage::all()) {
            language_->addItem(toQString(language.nativeName), toQString(language.code));
        }
    }
    showSettings();
}

} // namespace morvane::app
