#include "engine/filesystem/NamesTakenOnDisk.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/NameKey.h"
#include "engine/support/Unicode.h"

#include <unordered_map>
#include <unordered_set>

namespace morvane {
namespace {

// The entries of one folder that are not items of the plan, by name key.
class Outsiders {
public:
    Outsiders(const FileSystem& fileSystem, const std::string& folder,
              const std::unordered_set<std::string>& itemNames)
        : caseSensitive_(fileSystem.isCaseSensitive(folder)) {
        std::unordered_set<NameKey> itemKeys;
        for (const std::string& name : itemNames) {
            itemKeys.emplace(name, caseSensitive_);
        }
        try {
            for (const FSEntry& entry : fileSystem.entries(folder)) {
                // A name that is not UTF-8 can never equal a new name.
                if (!unicode::isValidUtf8(entry.name)) {
                    continue;
                }
                NameKey key(entry.name, caseSensitive_);
                if (!itemKeys.contains(key)) {
                    byKey_.try_emplace(std::move(key), entry.name);
                }
            }
        } catch (const FileSystemError&) {
            byKey_.clear();
        }
    }

    // The name of the outside entry that holds `name`, if any.
    const std::string* holderOf(const std::string& name) const {
        if (byKey_.empty()) {
            return nullptr;
        }
        const auto found = byKey_.find(NameKey(name, caseSensitive_));
        return found == byKey_.end() ? nullptr : &found->second;
    }

private:
    bool caseSensitive_;
    std::unordered_map<NameKey, std::string> byKey_;
};

} // namespace

void markNamesTakenOnDisk(RenamePlan& plan, const FileSystem& fileSystem) {
    std::unordered_map<std::string, std::unordered_set<std::string>> itemNames; // folder -> names of items
    bool anyRename = false;
    for (const RenamePlan::Entry& entry : plan.entries) {
        itemNames[entry.item.directory].insert(entry.item.name);
        anyRename = anyRename || entry.status.willRename();
    }
    if (!anyRename) {
        return;
    }
    std::unordered_map<std::string, Outsiders> folders;
    for (RenamePlan::Entry& entry : plan.entries) {
        if (!entry.status.willRename()) {
            continue;
        }
        const std::string& folder = entry.item.directory;
        auto found = folders.find(folder);
        if (found == folders.end()) {
            found = folders.try_emplace(folder, fileSystem, folder, itemNames.at(folder)).first;
        }
        if (const std::string* holder = found->second.holderOf(entry.newName)) {
            entry.status = RenameStatus::nameTaken(*holder);
        }
    }
}

} // namespace morvane
