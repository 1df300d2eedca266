#include "app/desktop/Sidebar.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"

#include <QCollator>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>

namespace morvane::app {
namespace {

enum Role { PathRole = Qt::UserRole + 1, UnreadRole };

QStandardItem* sectionItem() {
    auto* item = new QStandardItem();
    item->setFlags(Qt::ItemIsEnabled);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    return item;
}

QStandardItem* placeItem(const QString& name, const QString& path, const QString& symbol) {
    auto* item = new QStandardItem(Icons::symbol(symbol), name);
    item->setData(path, PathRole);
    item->setToolTip(path);
    item->setEditable(false);
    return item;
}

// A folder's subfolders, in the file manager's order; hidden ones left out.
QStringList subfolders(const QString& path) {
    QStringList names = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable);
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

// A folder item that reads its own subfolders when first expanded.
QStandardItem* folderItem(const QString& name, const QString& path) {
    QStandardItem* item = placeItem(name, path, "folder");
    item->setData(true, UnreadRole);
    item->appendRow(new QStandardItem()); // so it shows an expander until read
    return item;
}

} // namespace

Sidebar::Sidebar(const QString& home, QWidget* parent) : QTreeView(parent), home_(home) {
    setModel(&places_);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setEditTriggers(NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setIndentation(14);
    setMinimumWidth(150);
    fill();
    connect(this, &QTreeView::expanded, this, &Sidebar::loadChildren);
    connect(this, &QTreeView::clicked, this, &Sidebar::choose);
    connect(this, &QTreeView::activated, this, &Sidebar::choose);
    retranslate();
}

void Sidebar::fill() {
    favorites_ = sectionItem();
    fillFavorites(favorites_);
    folders_ = sectionItem();
    for (const QString& name : subfolders(home_)) {
        // The Mac keeps its application data in a folder of this name; a home
        // folder carried over from one lists it for no one's use.
        if (name != "Library") {
            folders_->appendRow(folderItem(name, QDir(home_).filePath(name)));
        }
    }
    locations_ = sectionItem();
    fillVolumes(locations_);
    places_.appendRow(favorites_);
    places_.appendRow(folders_);
    places_.appendRow(locations_);
    for (QStandardItem* section : {favorites_, folders_, locations_}) {
        // A heading with nothing under it (no such folders here) is left out.
        setRowHidden(section->row(), QModelIndex(), section->rowCount() == 0);
        expand(section->index());
    }
}

void Sidebar::fillFavorites(QStandardItem* section) {
    const struct {
        QStandardPaths::StandardLocation location;
        const char* symbol;
    } favorites[] = {{QStandardPaths::DesktopLocation, "desktopcomputer"},
                     {QStandardPaths::DownloadLocation, "arrow.down.circle"},
                     {QStandardPaths::DocumentsLocation, "doc"},
                     {QStandardPaths::PicturesLocation, "photo"}};
    for (const auto& favorite : favorites) {
        const QString path = QStandardPaths::writableLocation(favorite.location);
        // Without the folder (or where it falls back to the home folder itself) there is nothing to offer.
        if (path.isEmpty() || QDir(path) == QDir(home_) || !QDir(path).exists()) {
            continue;
        }
        section->appendRow(placeItem(QDir(path).dirName(), path, favorite.symbol));
    }
}

void Sidebar::fillVolumes(QStandardItem* section) {
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Real volumes only: those on a device, not the kernel's own file systems.
        if (!volume.isValid() || !volume.isReady() || !volume.device().startsWith("/dev/")) {
            continue;
        }
        const QString path = volume.rootPath();
        QString name = volume.displayName();
        if (path == "/") {
            name = ui("Computer");
        } else if (name.isEmpty() || name == path) {
            name = QDir(path).dirName();
        }
        section->appendRow(placeItem(name, path, path == "/" ? "desktopcomputer" : "externaldrive"));
    }
}

void Sidebar::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void Sidebar::retranslate() {
    favorites_->setText(ui("Favorites"));
    folders_->setText(ui("Folders"));
    locations_->setText(ui("Locations"));
    for (int row = 0; row < locations_->rowCount(); ++row) {
        QStandardItem* item = locations_->child(row);
        if (item->data(PathRole).toString() == "/") {
            item->setText(ui("Computer"));
        }
    }
    setAccessibleName(ui("Places"));
}

void Sidebar::loadChildren(const QModelIndex& index) {
    QStandardItem* item = places_.itemFromIndex(index);
    if (item == nullptr || !item->data(UnreadRole).toBool()) {
        return;
    }
    item->setData(false, UnreadRole);
    item->removeRows(0, item->rowCount());
    const QString path = item->data(PathRole).toString();
    for (const QString& name : subfolders(path)) {
        item->appendRow(folderItem(name, QDir(path).filePath(name)));
    }
}

QModelIndex Sidebar::folderIndex(const QString& path) {
    QStandardItem* level = folders_;
    QModelIndex found;
    for (bool descended = true; descended;) {
        descended = false;
        for (int row = 0; row < level->rowCount(); ++row) {
            QStandardItem* child = level->child(row);
            const QString childPath = child->data(PathRole).toString();
            if (childPath == path) {
                return child->index();
            }
            if (path.startsWith(childPath + '/')) {
                loadChildren(child->index());
                level = child;
                descended = true;
                break;
            }
        }
    }
    return found;
}

void Sidebar::choose(const QModelIndex& index) {
    const QString path = index.data(PathRole).toString();
    if (!path.isEmpty()) {
        emit folderChosen(fromQString(path));
    }
}

} // namespace morvane::app
