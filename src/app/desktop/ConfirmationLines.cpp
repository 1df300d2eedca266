#include "app/desktop/ConfirmationLines.h"

#include "app/model/WindowPreview.h"

namespace morvane::app {
namespace {

// Enough for the lines of a tall sheet, several times over.
constexpr int kCachedLines = 400;

} // namespace

ConfirmationLines::ConfirmationLines(const WindowPreview& preview, QObject* parent)
    : QAbstractListModel(parent), preview_(preview), drawn_(kCachedLines) {
    connect(&preview_, &WindowPreview::planChanged, this, &ConfirmationLines::reset);
    reset();
}

void ConfirmationLines::reset() {
    beginResetModel();
    drawn_.clear();
    count_ = static_cast<int>(preview_.summary().toRename);
    endResetModel();
}

int ConfirmationLines::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

const ConfirmationLines::Line& ConfirmationLines::line(int row) const {
    if (Line* kept = drawn_.object(row)) {
        return *kept;
    }
    const ConfirmationLine names = preview_.confirmationLine(static_cast<std::size_t>(row));
    const NameDiff diff(names.oldName, names.newName);
    auto* made = new Line{DiffText(diff, DiffText::Side::oldName), DiffText(diff, DiffText::Side::newName)};
    drawn_.insert(row, made);
    return *made;
}

QVariant ConfirmationLines::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_) {
        return {};
    }
    switch (role) {
    case LineRole:
        return QVariant::fromValue(&line(index.row()));
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const Line& shown = line(index.row());
        return shown.oldName.plainText() + QStringLiteral(" \u2192 ") + shown.newName.plainText();
    }
    default:
        return {};
    }
}

} // namespace morvane::app
