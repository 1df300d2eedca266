#include "app/desktop/ListEditorSheet.h"

#include "app/desktop/Clipboard.h"
#include "app/desktop/FileDialogs.h"
#include "app/desktop/Icons.h"
#include "app/desktop/PairRowsModel.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowPreview.h"
#include "app/model/WindowRules.h"
#include "app/model/WorkerPools.h"

#include <QEvent>
#include <QFile>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace morvane::app {
namespace {

// Hands each keystroke to the rows, not only the finished edit.
class LiveEditDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, line] { emit const_cast<LiveEditDelegate*>(this)->commitData(line); });
        }
        return editor;
    }
};

// The sheet's tools, by name, in the order of their buttons.
const struct {
    const char* name;
    const char* symbol;
    const char* text;
} toolButtons[] = {
    {"addRow", "plus", "Add Row"},
    {"duplicate", "plus.square.on.square", "Duplicate"},
    {"remove", "minus.circle", "Remove"},
    {"paste", "doc.on.clipboard", "Paste Rows"},
    {"import", "square.and.arrow.down", "Import\u2026"},
    {"export", "square.and.arrow.up", "Export\u2026"},
};

} // namespace

ListEditorSheet::ListEditorSheet(WindowRules& rules, const WindowPreview& preview, const Uuid& id,
                                 std::shared_ptr<Clipboard> clipboard, std::shared_ptr<FileDialogs> dialogs,
                                 QWidget* parent)
    : QDialog(parent), rules_(rules), id_(id), clipboard_(std::move(clipboard)), dialogs_(std::move(dialogs)),
      title_(new QLabel), table_(new QTableView), active_(new QLabel), changed_(new QLabel),
      message_(new QLabel), done_(new QPushButton) {
    setObjectName("listEditor");
    const auto& entries = rules_.entries();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const RuleEntry& candidate) { return candidate.id == id_; });
    rows_ = new PairRowsModel(entry != entries.end() && std::holds_alternative<RegexRule>(entry->rule), this);
    resize(640, 440);

    auto* layout = new QVBoxLayout(this);
    // A sheet has no title bar of its own on every platform; its title heads it.
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
    layout->addWidget(title_);
    auto* toolbar = new QHBoxLayout;
    using Tool = void (ListEditorSheet::*)();
    const Tool actions[] = {&ListEditorSheet::addRow,         &ListEditorSheet::duplicateSelected,
                            &ListEditorSheet::removeSelected, &ListEditorSheet::pasteRows,
                            &ListEditorSheet::importFile,     &ListEditorSheet::exportFile};
    const Tool* action = actions;
    for (const auto& tool : toolButtons) {
        auto* button = new QToolButton;
        button->setObjectName(tool.name);
        button->setIcon(Icons::symbol(tool.symbol));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, *action++);
        if (std::string_view(tool.name) == "import") {
            toolbar->addStretch(1);
        }
        toolbar->addWidget(button);
    }
    layout->addLayout(toolbar);

    table_->setModel(rows_);
    table_->setItemDelegate(new LiveEditDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->hide();
    table_->setAlternatingRowColors(true);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(PairRowsModel::enabled, QHeaderView::Fixed);
    header->resizeSection(PairRowsModel::enabled, 32);
    header->setSectionResizeMode(PairRowsModel::find, QHeaderView::Stretch);
    header->setSectionResizeMode(PairRowsModel::with, QHeaderView::Stretch);
    header->setSectionResizeMode(PairRowsModel::matches, QHeaderView::ResizeToContents);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(table_, 1);

    auto* footer = new QHBoxLayout;
    changed_->setForegroundRole(QPalette::PlaceholderText);
    message_->setForegroundRole(QPalette::PlaceholderText);
    footer->addWidget(active_);
    footer->addWidget(changed_);
    footer->addStretch(1);
    footer->addWidget(message_);
    footer->addWidget(done_);
    layout->addLayout(footer);
    done_->setDefault(true);
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);

    ListRows initial = rules_.listRows(id_).value_or(ListRows{});
    if (initial.empty()) {
        initial.push_back(ListRow::make());
    }
    rows_->setRows(std::move(initial));
    connect(rows_, &PairRowsModel::rowsEdited, this, &ListEditorSheet::writeBack);
    connect(&preview, &WindowPreview::planChanged, this, [this] {
        showFooter();
        countMatches();
    });
    connect(&rules_, &WindowRules::rulesChanged, this, [this] {
        // The rule went away under the editor (deleted, or another list applied).
        if (!rules_.listRows(id_)) {
            reject();
        }
    });
    retranslate();
    countMatches();
}

void ListEditorSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void ListEditorSheet::retranslate() {
    setWindowTitle(toQString(rules_.listEditorTitle()));
    title_->setText(windowTitle());
    for (const auto& tool : toolButtons) {
        button(tool.name)->setText(ui(tool.text));
    }
    table_->setAccessibleName(ui("Pairs"));
    rows_->retranslate();
    done_->setText(ui("Done"));
    showFooter();
}

QToolButton* ListEditorSheet::button(const QString& objectName) const {
    return findChild<QToolButton*>(objectName);
}

void ListEditorSheet::writeBack() {
    rules_.setListRows(id_, rows_->rows());
    showFooter();
    countMatches();
}

void ListEditorSheet::countMatches() {
    const std::uint64_t request = ++countRequest_;
    auto* watcher = new QFutureWatcher<std::vector<std::size_t>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        if (request == countRequest_) {
            rows_->setMatchCounts(watcher->result());
        }
    });
    watcher->setFuture(QtConcurrent::run(&WorkerPools::planning(), rules_.matchCountsJob(id_)));
}

void ListEditorSheet::showFooter() {
    const ListRows& rows = rows_->rows();
    const auto enabled =
        std::count_if(rows.begin(), rows.end(), [](const ListRow& row) { return row.isEnabled; });
    active_->setText(uiFormat("%lld of %lld rows active", enabled, rows.size()));
    changed_->setText(toQString(Localizer::counted(
        "%lld item changed in the preview", "%lld items changed in the preview", rules_.changedCount(id_))));
}

void ListEditorSheet::applyEdit(const RowsEdit& edit) {
    message_->setText(edit.message ? toQString(*edit.message) : QString());
    if (edit.rows != rows_->rows()) {
        rows_->setRows(edit.rows);
    }
}

void ListEditorSheet::addRow() {
    ListRows rows = rows_->rows();
    rows.push_back(ListRow::make());
    rows_->setRows(std::move(rows));
    const QModelIndex added = rows_->index(rows_->rowCount() - 1, PairRowsModel::find);
    table_->setCurrentIndex(added);
    table_->edit(added);
}

namespace {
RowIds selectedIds(const QTableView& table, const ListRows& rows) {
    RowIds ids;
    for (const QModelIndex& index : table.selectionModel()->selectedRows()) {
        ids.push_back(rows[static_cast<std::size_t>(index.row())].id);
    }
    return ids;
}
} // namespace

void ListEditorSheet::duplicateSelected() {
    const RowIds ids = selectedIds(*table_, rows_->rows());
    if (!ids.empty()) {
        rows_->setRows(duplicating(rows_->rows(), ids));
    }
}

void ListEditorSheet::removeSelected() {
    const RowIds ids = selectedIds(*table_, rows_->rows());
    if (!ids.empty()) {
        rows_->setRows(removing(rows_->rows(), ids));
    }
}

void ListEditorSheet::pasteRows() {
    applyEdit(pastingText(rows_->rows(), clipboard_->text()));
}

void ListEditorSheet::importFile() {
    const auto path =
        dialogs_->openFile(this, ui("Import Pairs"), ui("Text files (*.tsv *.txt);;All files (*)"));
    if (!path) {
        return;
    }
    QFile file(toQString(*path));
    std::optional<std::string> bytes;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray read = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            bytes = std::string(read.constData(), static_cast<std::size_t>(read.size()));
        }
    }
    applyEdit(importingFile(rows_->rows(), bytes));
}

void ListEditorSheet::exportFile() {
    const auto path =
        dialogs_->saveFile(this, ui("Export Pairs"), "pairs.tsv", ui("Tab-separated text (*.tsv)"));
    if (!path) {
        return;
    }
    const std::string text = PairText::tsv(pairs(rows_->rows()));
    QFile file(toQString(*path));
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        file.flush();
    message_->setText(written ? QString() : ui("The file could not be written."));
}

} // namespace morvane::app
