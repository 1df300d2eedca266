#include "engine/transactions/FolderPresence.h"

#include "engine/filesystem/FileSystemError.h"

#include <functional>

namespace morvane {
namespace {

// Below this many questions a folder is not worth listing; and a listing
// is given up when the folder holds more than this many entries per question.
constexpr std::size_t kListingFrom = 256;
constexpr std::size_t kEntriesPerQuestion = 16;

std::uint64_t hashOf(std::string_view name) {
    const std::uint64_t hash = std::hash<std::string_view>{}(name);
    return hash ^ (hash >> 29);
}

constexpr std::uint64_t kTag = 0xFFFFFFFF00000000ULL;

} // namespace

bool FolderPresence::Listing::contains(std::string_view name) const {
    const std::size_t mask = slots.size() - 1;
    const std::uint64_t hash = hashOf(name);
    for (std::size_t slot = hash & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
        if ((slots[slot] & kTag) == (hash & kTag) && names[(slots[slot] & ~kTag) - 1] == name) {
            return true;
        }
    }
    return false;
}

const FolderPresence::Listing* FolderPresence::listingOf(std::string_view folder) {
    const std::string key(folder);
    const auto known = listings_.find(key);
    if (known != listings_.end()) {
        return known->second.get();
    }
    std::unique_ptr<Listing> listing;
    const auto expected = expected_.find(key);
    const std::size_t questions = expected == expected_.end() ? 0 : expected->second;
    // Only where a name is present exactly when its bytes are listed.
    if (questions >= kListingFrom && isCaseSensitive_(key)) {
        try {
            if (auto names = fileSystem_.names(key, questions * kEntriesPerQuestion)) {
                listing = std::make_unique<Listing>();
                listing->names = std::move(*names);
                std::size_t size = 16;
                while (size < 2 * listing->names.size()) {
                    size *= 2;
                }
                listing->slots.assign(size, 0);
                for (std::uint32_t position = 0; position < listing->names.size(); ++position) {
                    const std::uint64_t hash = hashOf(listing->names[position]);
                    std::size_t slot = hash & (size - 1);
                    while (listing->slots[slot] != 0) {
                        slot = (slot + 1) & (size - 1);
                    }
                    listing->slots[slot] = (hash & kTag) | (position + 1);
                }
            }
        } catch (const FileSystemError&) {
            // Asked name by name, each question then answers for itself.
        }
    }
    return listings_.emplace(key, std::move(listing)).first->second.get();
}

bool FolderPresence::exists(std::string_view folder, std::string_view name) {
    if (const Listing* listing = listingOf(folder)) {
        return listing->contains(name);
    }
    return perName_.exists(folder, name);
}

} // namespace morvane
