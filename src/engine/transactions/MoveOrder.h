#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A planned order of moves that holds no names of its own but the temporary
// ones: each move says which rename it serves, and the names it goes from and
// to follow from that rename. A batch of a hundred thousand renames is carried
// out from this without a copy of every folder path and name per move.
struct MoveOrder {
    static constexpr std::uint32_t kNone = UINT32_MAX;

    struct Move {
        std::uint32_t rename = 0; // index of the rename it serves
        bool isTemporary = false; // to the rename's temporary name, not to its wanted one

        bool operator==(const Move&) const = default;
    };

    std::vector<Move> moves;                // in the order they are to be made
    std::vector<std::uint32_t> temporaryOf; // by rename: index in temporaryNames, or kNone
    std::vector<std::string> temporaryNames;

    // The temporary name a rename is parked under on its way, if any.
    const std::string* temporaryName(std::uint32_t rename) const {
        const std::uint32_t index = temporaryOf[rename];
        return index == kNone ? nullptr : &temporaryNames[index];
    }
    // What `move` renames from and to, given its rename's own names. A rename
    // is parked at most once, and always with its first move.
    std::string_view from(const Move& move, std::string_view renameFrom) const {
        const std::string* parked = move.isTemporary ? nullptr : temporaryName(move.rename);
        return parked != nullptr ? std::string_view(*parked) : renameFrom;
    }
    std::string_view to(const Move& move, std::string_view renameTo) const {
        return move.isTemporary ? std::string_view(*temporaryName(move.rename)) : renameTo;
    }

    bool operator==(const MoveOrder&) const = default;
};

} // namespace morvane
