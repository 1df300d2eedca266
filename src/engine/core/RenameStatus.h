#pragma once

#include "engine/core/NameValidationError.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The verdict on one item of a plan.
struct RenameStatus {
    // `nameTaken`: the new name is held in the item's folder by an entry
    // that is not among the items (only looked for where the items are loose
    // files rather than a whole folder, see markNamesTakenOnDisk).
    enum class Kind { invalid, rename, caseOnlyRename, unchanged, duplicate, excluded, nameTaken };

    Kind kind = Kind::unchanged;
    std::optional<NameValidationError> problem; // set for invalid only
    std::optional<std::string> takenBy;         // nameTaken only: the name of the entry on disk

    static RenameStatus invalid(NameValidationError problem) {
        return {Kind::invalid, std::move(problem), std::nullopt};
    }
    static RenameStatus nameTaken(std::string takenBy) {
        return {Kind::nameTaken, std::nullopt, std::move(takenBy)};
    }
    static RenameStatus of(Kind kind) { return {kind, std::nullopt, std::nullopt}; }

    bool willRename() const { return kind == Kind::rename || kind == Kind::caseOnlyRename; }
    bool isConflict() const {
        return kind == Kind::invalid || kind == Kind::duplicate || kind == Kind::nameTaken;
    }

    bool operator==(const RenameStatus&) const = default;
};

std::string_view rawValue(RenameStatus::Kind kind);

} // namespace morvane
