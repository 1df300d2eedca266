#include "app/desktop/FileDialogs.h"

#include "app/desktop/UiText.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>

namespace morvane::app {
namespace {

std::optional<std::string> chosen(const QString& path) {
    return path.isEmpty() ? std::nullopt : std::optional(fromQString(path));
}

class SystemFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> chooseFolder(QWidget* parent, bool& includeSubfolders) override {
        QFileDialog dialog(parent, ui("Open Folder"), QDir::homePath());
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        // Qt's own dialog, since a desktop's dialog takes no control of ours.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setLabelText(QFileDialog::Accept, ui("Open"));
        auto* subfolders = new QCheckBox(ui("Include Subfolders"));
        subfolders->setObjectName("includeSubfolders");
        subfolders->setChecked(includeSubfolders);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            grid->addWidget(subfolders, grid->rowCount(), 0, 1, grid->columnCount());
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        includeSubfolders = subfolders->isChecked();
        return chosen(dialog.selectedFiles().front());
    }

    std::optional<std::string> openFile(QWidget* parent, const QString& title,
                                        const QString& filter) override {
        return chosen(QFileDialog::getOpenFileName(parent, title, QDir::homePath(), filter));
    }

    std::vector<std::string> openFiles(QWidget* parent, const QString& title,
                                       const QString& filter) override {
        std::vector<std::string> paths;
        for (const QString& path : QFileDialog::getOpenFileNames(parent, title, QDir::homePath(), filter)) {
            paths.push_back(fromQString(path));
        }
        return paths;
    }

    std::optional<std::string> saveFile(QWidget* parent, const QString& title, const QString& suggestedName,
                                        const QString& filter) override {
        return chosen(
            QFileDialog::getSaveFileName(parent, title, QDir::home().filePath(suggestedName), filter));
    }
};

} // namespace

std::shared_ptr<FileDialogs> FileDialogs::system() {
    return std::make_shared<SystemFileDialogs>();
}

} // namespace morvane::app
