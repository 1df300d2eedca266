#include "engine/transactions/ItemIdentities.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/transactions/NameIndex.h"

#include <string_view>
#include <unordered_map>

namespace morvane {
namespace {

// Below this many items a folder is not worth listing; and a listing is given
// up when the folder holds more than this many entries per item.
constexpr std::size_t kListingFrom = 256;
constexpr std::size_t kEntriesPerItem = 16;

} // namespace

std::vector<std::optional<FileIdentity>>
ItemIdentities::of(FileSystem& fileSystem, const std::vector<MovePlanner::RenameRef>& renames) {
    std::vector<std::optional<FileIdentity>> result(renames.size());
    std::unordered_map<std::string_view, std::vector<std::size_t>> byFolder;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        byFolder[renames[i].directory].push_back(i);
    }
    for (const auto& [folder, members] : byFolder) {
        const std::string directory(folder);
        std::optional<std::vector<IdentifiedName>> listing;
        if (members.size() >= kListingFrom) {
            try {
                listing = fileSystem.identities(directory, members.size() * kEntriesPerItem);
            } catch (const FileSystemError&) {
                // Asked item by item, each answers for itself.
            }
        }
        if (listing) {
            const auto nameAt = [&](std::size_t position) -> std::string_view {
                return (*listing)[position].name;
            };
            const NameIndex index(listing->size(), nameAt);
            for (const std::size_t i : members) {
                if (const auto found = index.find(renames[i].from, nameAt)) {
                    result[i] = (*listing)[*found].identity;
                }
            }
            continue;
        }
        try {
            const auto held = fileSystem.folder(directory);
            for (const std::size_t i : members) {
                result[i] = held->identity(renames[i].from);
            }
        } catch (const FileSystemError&) {
            // No such folder: none of its items is there.
        }
    }
    return result;
}

} // namespace morvane
