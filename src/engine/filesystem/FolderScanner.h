#pragma once

#include "engine/core/FileItem.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/filesystem/ScanControl.h"
#include "engine/filesystem/ScanOptions.h"
#include "engine/filesystem/ScanResult.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace morvane {

// Turns a folder into the items the rules work on: each level sorted by name
// (ignoring case, digit runs by value), depth first, a folder item directly
// followed by its contents. The root itself is never an item.
class FolderScanner {
public:
    explicit FolderScanner(std::shared_ptr<const FileSystem> fileSystem);

    // Throws the first FileSystemError of any listing; no partial list then.
    std::vector<FileItem> scan(const std::string& root, const ScanOptions& options) const;
    // The same, with the count of entries left out for names that are not
    // valid UTF-8. A folder with such a name counts once and is not entered.
    // A stop ends the scan at once with what was read so far (incomplete).
    ScanResult scanReporting(const std::string& root, const ScanOptions& options,
                             const ScanControl& control = {}) const;

    // The listing order of names: case-insensitive, numbers by value ("file2"
    // before "file10"), stable.
    static void sortByName(std::vector<FSEntry>& entries);

private:
    struct Walk;
    void walk(const std::string& directory, Walk& state) const;

    std::shared_ptr<const FileSystem> fileSystem_;
};

} // namespace morvane
