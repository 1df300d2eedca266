#pragma once

#include <QStandardItemModel>
#include <QTreeView>
#include <string>

namespace morvane::app {

// Places to open: "Favorites" (the home folder's Desktop, Downloads,
// Documents and Pictures), "Folders" (the home folder's subfolders, each
// level read when it is first expanded) and "Locations" (mounted volumes).
// Choosing a place emits `folderChosen`.
class Sidebar : public QTreeView {
    Q_OBJECT

public:
    // `home`: the folder whose subfolders are listed (the user's home).
    Sidebar(const QString& home, QWidget* parent = nullptr);

    // The "Folders" item for a path below the home folder, read as far as needed.
    QModelIndex folderIndex(const QString& path);

signals:
    void folderChosen(const std::string& path);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void fill();
    void fillFavorites(QStandardItem* section);
    void fillVolumes(QStandardItem* section);
    void loadChildren(const QModelIndex& index);
    void choose(const QModelIndex& index);

    QString home_;
    QStandardItemModel places_;
    QStandardItem* favorites_ = nullptr;
    QStandardItem* folders_ = nullptr;
    QStandardItem* locations_ = nullptr;
};

} // namespace morvane::app
