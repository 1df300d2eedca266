#include "engine/transactions/PlaceCheck.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/transactions/FolderPresence.h"

#include <algorithm>
#include <limits>

namespace morvane {
namespace {

using Place = MoveJournal::Place;

struct IdentityHash {
    std::size_t operator()(const FileIdentity& identity) const {
        return std::hash<std::uint64_t>{}(identity.inode * 0x9E3779B97F4A7C15ULL ^ identity.device);
    }
};

} // namespace

PlaceCheck::PlaceCheck(FileSystem& fileSystem, BatchJournal& journal, const BatchMoves& moves)
    : fileSystem_(fileSystem), journal_(journal), moves_(moves), astray_(journal.renames().size()) {
    const auto& renames = journal.renames();
    for (std::uint32_t rename = 0; rename < renames.size(); ++rename) {
        byFolder_[renames[rename].directory].push_back(rename);
    }
}

void PlaceCheck::check(std::string_view folder) {
    const auto found = byFolder_.find(folder);
    if (found == byFolder_.end() || found->second.empty()) {
        return;
    }
    const Members members = std::move(found->second);
    found->second.clear();
    const auto& renames = journal_.renames();
    Members known, unknown;
    for (const std::uint32_t rename : members) {
        (renames[rename].identity ? known : unknown).push_back(rename);
    }
    if (!known.empty() && !checkByIdentity(folder, known)) {
        unknown.insert(unknown.end(), known.begin(), known.end());
    }
    if (!unknown.empty()) {
        checkByName(folder, unknown);
    }
}

bool PlaceCheck::checkByIdentity(std::string_view folder, const Members& members) {
    const std::string directory(folder);
    std::optional<std::vector<IdentifiedName>> listing;
    try {
        listing = fileSystem_.identities(directory, std::numeric_limits<std::size_t>::max());
        if (!listing) {
            return false; // a file system that tells none
        }
    } catch (const FileSystemError&) {
        listing.emplace(); // no such folder: nothing of it is there
    }
    std::unordered_multimap<FileIdentity, std::string_view, IdentityHash> names;
    names.reserve(listing->size());
    for (const IdentifiedName& entry : *listing) {
        names.emplace(entry.identity, entry.name);
    }
    std::unique_ptr<FileSystem::Folder> held;
    for (const std::uint32_t rename : members) {
        const FileIdentity& identity = *journal_.renames()[rename].identity;
        // Where the record says first: a file with several names (hard
        // links) may be under more than one of its own.
        std::vector<Place> order{journal_.place(rename)};
        if (const auto to = journal_.movingTo(rename)) {
            order.insert(order.begin(), *to);
        }
        for (const Place place : {Place::original, Place::temporary, Place::target}) {
            const bool hasName =
                place != Place::temporary || journal_.order().temporaryName(rename) != nullptr;
            if (hasName && std::find(order.begin(), order.end(), place) == order.end()) {
                order.push_back(place);
            }
        }
        // Not a structured binding: lambdas cannot capture those with every compiler.
        const auto listed = names.equal_range(identity);
        const auto first = listed.first;
        const auto last = listed.second;
        const auto holds = [&](Place place) {
            const std::string_view name = moves_.nameAt(rename, place);
            if (first != last) {
                return std::any_of(first, last, [&](const auto& entry) { return entry.second == name; });
            }
            // Not in the listing by its number: asked after by name, in case
            // the volume numbers a listing otherwise.
            try {
                if (!held) {
                    held = fileSystem_.folder(directory);
                }
                return held->identity(name) == identity;
            } catch (const FileSystemError&) {
                return false;
            }
        };
        const auto place = std::find_if(order.begin(), order.end(), holds);
        if (place != order.end()) {
            journal_.at(rename, *place);
        } else {
            astray_[rename] = first != last ? std::string(first->second) : std::string();
        }
    }
    return true;
}

void PlaceCheck::checkByName(std::string_view folder, const Members& members) {
    FolderPresence presence(fileSystem_, [this](const std::string& directory) {
        const auto [known, isNew] = caseSensitivity_.try_emplace(directory, false);
        if (isNew) {
            known->second = fileSystem_.isCaseSensitive(directory);
        }
        return known->second;
    });
    presence.expect(folder, 3 * members.size());
    for (const std::uint32_t rename : members) {
        const auto isAt = [&](Place place) { return presence.exists(folder, moves_.nameAt(rename, place)); };
        const bool hasTemporary = journal_.order().temporaryName(rename) != nullptr;
        Place place = journal_.place(rename);
        if (const auto to = journal_.movingTo(rename)) {
            place = isAt(*to) && !isAt(place) ? *to : place;
        } else if (!isAt(place)) {
            for (const Place other : {Place::original, Place::temporary, Place::target}) {
                if (other != place && (other != Place::temporary || hasTemporary) && isAt(other)) {
                    place = other;
                    break;
                }
            }
        }
        journal_.at(rename, place);
    }
}

} // namespace morvane
