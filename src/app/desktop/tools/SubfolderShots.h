#pragma once

#include <QString>

class QTemporaryDir;

namespace morvane::app {

class MainWindow;

// The screenshots of reading subfolders and editing a new name by hand: the
// Scan Options menu open over a tree read with its subfolders, and the
// table with an edited name and the rule panel's count of edits.
bool shootSubfoldersAndEdits(MainWindow& window, const QTemporaryDir& root, const QString& output);

} // namespace morvane::app
