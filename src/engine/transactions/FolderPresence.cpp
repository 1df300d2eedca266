#include "engine/transactions/FolderPresence.h"

#include "engine/filesystem/FileSystemError.h"

namespace morvane {
namespace {

// Below this many questions a folder is not worth listing; and a listing
// is given up when the folder holds more than this many entries per question.
constexpr std::size_t kListingFrom = 256;
constexpr std::size_t kEntriesPerQuestion = 16;

} // namespace

bool FolderPresence::Listing::contains(std::string_view name) const {
    return index.find(name, [this](std::size_t position) -> std::string_view { return names[position]; })
        .has_value();
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
                const auto& listed = listing->names;
                listing->index = NameIndex(listed.size(), [&](std::size_t position) -> std::string_view {
                    return listed[position];
                });
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
