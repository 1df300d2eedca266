#include "app/desktop/PresetManagerSheet.h"

#include "app/desktop/FileDialogs.h"
#include "app/desktop/Icons.h"
#include "app/desktop/SheetStyle.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/PresetDocument.h"
#include "app/model/WindowBatches.h"
#include "app/model/WindowPresets.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace morvane::app {
namespace {

QString presetFiles() {
    return uiFormat("Presets (*.%@)", PresetDocument::fileExtension);
}

// The import also reads presets saved as plain JSON.
QString importableFiles() {
    return uiFormat("Presets and JSON files (*.%@ *.json)", PresetDocument::fileExtension);
}

} // namespace

PresetManagerSheet::PresetManagerSheet(WindowPresets& presets, const WindowBatches& batches,
                                       std::shared_ptr<FileDialogs> dialogs, QWidget* parent)
    : QDialog(parent), presets_(presets), batches_(batches), dialogs_(std::move(dialogs)), title_(new QLabel),
      note_(new QLabel), list_(new QTreeWidget), message_(new QLabel) {
    setObjectName("presetManager");
    resize(620, 460);
    QVBoxLayout* layout = SheetStyle::column(this);
    layout->addWidget(SheetStyle::title(title_));
    note_->setForegroundRole(QPalette::PlaceholderText);
    note_->setWordWrap(true);
    layout->addWidget(note_);
    layout->addSpacing(6);

    list_->setColumnCount(3);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAllColumnsShowFocus(true);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(favoriteColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(rulesColumn, QHeaderView::ResizeToContents);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(list_, 1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(6);
    const struct {
        const char* name;
        void (PresetManagerSheet::*act)();
    } rowActions[] = {{"apply", &PresetManagerSheet::applySelected},
                      {"rename", &PresetManagerSheet::renameSelected},
                      {"export", &PresetManagerSheet::exportSelected},
                      {"delete", &PresetManagerSheet::deleteSelected},
                      {"import", &PresetManagerSheet::importFiles}};
    for (const auto& action : rowActions) {
        auto* button = new QPushButton;
        button->setObjectName(action.name);
        button->setAutoDefault(false);
        if (std::string_view(action.name) == "import") {
            actions->addStretch(1);
        }
        actions->addWidget(button);
        connect(button, &QPushButton::clicked, this, action.act);
    }
    layout->addLayout(actions);

    auto* footer = new QHBoxLayout;
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    footer->addWidget(message_, 1);
    auto* done = new QPushButton;
    done->setObjectName("done");
    done->setDefault(true);
    footer->addWidget(done, 0, Qt::AlignBottom);
    layout->addSpacing(4);
    layout->addLayout(footer);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &PresetManagerSheet::showButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &PresetManagerSheet::applySelected);
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (showing_ || column != favoriteColumn) {
            return;
        }
        const int row = list_->indexOfTopLevelItem(item);
        if (row >= 0 && static_cast<std::size_t>(row) < shown_.rows.size()) {
            const Preset preset = shown_.rows[static_cast<std::size_t>(row)].preset;
            const bool favorite = item->checkState(favoriteColumn) == Qt::Checked;
            // Once the item has taken its new state: the presets read again
            // rebuild the list, and with it this item.
            QMetaObject::invokeMethod(
                this,
                [this, preset, favorite] {
                    selectNext_ = preset.name;
                    presets_.setFavorite(preset, favorite);
                    // A mark the preset folder refused goes back to what is stored.
                    showRows();
                },
                Qt::QueuedConnection);
        }
    });
    connect(&presets_, &WindowPresets::presetsChanged, this, &PresetManagerSheet::showRows);
    connect(&batches_, &WindowBatches::busyChanged, this, &PresetManagerSheet::showButtons);
    // Only what happens while the sheet is open; an older message stays above the table.
    connect(&presets_, &WindowPresets::presetMessageChanged, this,
            [this] { message_->setText(toQString(presets_.presetMessage().value_or(std::string()))); });
    retranslate();
    if (list_->topLevelItemCount() > 0) {
        selectRow(0);
    }
}

void PresetManagerSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void PresetManagerSheet::retranslate() {
    showRows();
    setWindowTitle(toQString(shown_.title));
    title_->setText(toQString(shown_.title));
    note_->setText(toQString(shown_.favoritesNote));
    list_->setHeaderLabels({ui("Favorite"), ui("Name"), ui("Rules")});
    list_->setAccessibleName(toQString(shown_.title));
    const struct {
        const char* name;
        const std::string& text;
    } labels[] = {{"apply", shown_.applyButton},   {"rename", shown_.renameButton},
                  {"export", shown_.exportButton}, {"delete", shown_.deleteButton},
                  {"import", shown_.importButton}, {"done", shown_.doneButton}};
    for (const auto& label : labels) {
        button(label.name)->setText(toQString(label.text));
    }
}

QPushButton* PresetManagerSheet::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void PresetManagerSheet::showRows() {
    const std::optional<PresetRow> before = selected();
    const std::optional<std::string> keep =
        selectNext_ ? selectNext_ : (before ? std::optional(before->preset.name) : std::nullopt);
    selectNext_.reset();
    shown_ = presets_.presetManager(fromQString(Shortcuts::favoriteRange()));

    showing_ = true;
    list_->clear();
    QPixmap nothing(16, 16);
    nothing.fill(Qt::transparent);
    const QIcon blank(nothing);
    int keptRow = -1;
    for (const PresetRow& row : shown_.rows) {
        auto* item = new QTreeWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(favoriteColumn, row.preset.favorite ? Qt::Checked : Qt::Unchecked);
        item->setData(favoriteColumn, Qt::AccessibleTextRole, ui("Favorite"));
        item->setText(nameColumn, toQString(row.displayName));
        item->setText(rulesColumn, toQString(row.rulesText));
        item->setSizeHint(nameColumn, QSize(0, fontMetrics().height() + 10));
        // The preset the rules now come from is marked; the others keep its
        // room so that every name starts at the same place.
        const bool current = presets_.currentPreset() == row.preset.name;
        item->setIcon(nameColumn, current ? Icons::symbol("checkmark") : blank);
        if (current) {
            QFont font = item->font(nameColumn);
            font.setBold(true);
            item->setFont(nameColumn, font);
        }
        if (keep && *keep == row.preset.name) {
            keptRow = list_->topLevelItemCount() - 1;
        }
    }
    showing_ = false;
    if (keptRow >= 0) {
        selectRow(keptRow);
    }
    showButtons();
}

void PresetManagerSheet::showButtons() {
    const auto row = selected();
    const bool idle = !batches_.busy();
    for (const char* name : {"apply", "rename", "export"}) {
        button(name)->setEnabled(row.has_value() && idle);
    }
    button("delete")->setEnabled(row && row->canDelete && idle);
    button("import")->setEnabled(idle);
}

int PresetManagerSheet::rowOf(const QString& displayName) const {
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        if (list_->topLevelItem(row)->text(nameColumn) == displayName) {
            return row;
        }
    }
    return -1;
}

void PresetManagerSheet::selectRow(int row) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        list_->setCurrentItem(item, nameColumn);
        item->setSelected(true);
    }
}

std::optional<PresetRow> PresetManagerSheet::selected() const {
    const QList<QTreeWidgetItem*> items = list_->selectedItems();
    if (items.isEmpty()) {
        return std::nullopt;
    }
    const int row = list_->indexOfTopLevelItem(items.front());
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.rows.size()) {
        return std::nullopt;
    }
    return shown_.rows[static_cast<std::size_t>(row)];
}

void PresetManagerSheet::applySelected() {
    if (const auto row = selected()) {
        selectNext_ = row->preset.name;
        presets_.apply(row->preset);
    }
}

void PresetManagerSheet::renameSelected() {
    const auto row = selected();
    if (!row) {
        return;
    }
    prompt_ = new QInputDialog(this);
    prompt_->setAttribute(Qt::WA_DeleteOnClose);
    prompt_->setObjectName("renamePrompt");
    prompt_->setWindowTitle(toQString(shown_.renamePromptTitle));
    prompt_->setLabelText(uiFormat("New name for \u201C%@\u201D:", row->displayName));
    prompt_->setTextValue(toQString(row->preset.name));
    prompt_->setOkButtonText(toQString(shown_.renamePromptConfirm));
    prompt_->setCancelButtonText(toQString(shown_.renamePromptCancel));
    prompt_->setWindowModality(Qt::WindowModal);
    connect(prompt_, &QInputDialog::textValueSelected, this,
            [this, preset = row->preset](const QString& name) {
                selectNext_ = fromQString(name.trimmed());
                presets_.renamePreset(preset, fromQString(name));
            });
    prompt_->open();
}

void PresetManagerSheet::exportSelected() {
    const auto row = selected();
    if (!row) {
        return;
    }
    QString suggested = toQString(row->displayName).replace('/', '-');
    suggested += '.' + toQString(PresetDocument::fileExtension);
    const auto chosen = dialogs_->saveFile(this, ui("Export Preset"), suggested, presetFiles());
    if (!chosen) {
        return;
    }
    // A name typed without an extension gets the presets' own.
    QString path = toQString(*chosen);
    if (QFileInfo(path).suffix().isEmpty()) {
        path += '.' + toQString(PresetDocument::fileExtension);
    }
    presets_.exportPreset(row->preset, fromQString(path));
}

void PresetManagerSheet::deleteSelected() {
    const auto row = selected();
    if (!row || !row->canDelete) {
        return;
    }
    // The preset's file goes for good, so the user says so first.
    confirmation_ =
        new QMessageBox(QMessageBox::Warning, toQString(shown_.title),
                        uiFormat("Delete \u201C%@\u201D?", row->displayName), QMessageBox::NoButton, this);
    confirmation_->setAttribute(Qt::WA_DeleteOnClose);
    confirmation_->setObjectName("deleteConfirmation");
    confirmation_->setInformativeText(ui("The preset file is removed from the preset folder."));
    QPushButton* remove =
        confirmation_->addButton(toQString(shown_.deleteButton), QMessageBox::DestructiveRole);
    remove->setObjectName("confirmDelete");
    QPushButton* cancel =
        confirmation_->addButton(toQString(shown_.renamePromptCancel), QMessageBox::RejectRole);
    confirmation_->setDefaultButton(cancel);
    confirmation_->setWindowModality(Qt::WindowModal);
    connect(remove, &QPushButton::clicked, this,
            [this, preset = row->preset] { presets_.deletePreset(preset); });
    confirmation_->open();
}

void PresetManagerSheet::importFiles() {
    const std::vector<std::string> paths = dialogs_->openFiles(this, ui("Import Presets"), importableFiles());
    if (!paths.empty()) {
        presets_.importPresets(paths);
    }
}

} // namespace morvane::app
