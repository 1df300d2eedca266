#include "engine/transactions/PlaceCheck.h"

#include "engine/transactions/FolderPresence.h"

namespace morvane {

using Place = MoveJournal::Place;

PlaceCheck::PlaceCheck(FileSystem& fileSystem, BatchJournal& journal, const BatchMoves& moves)
    : fileSystem_(fileSystem), journal_(journal), moves_(moves) {
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
    const std::vector<std::uint32_t> members = std::move(found->second);
    found->second.clear();
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
