#pragma once

#include "engine/core/NameValidationError.h"

#include <optional>
#include <string_view>

namespace morvane {

// The verdict on one item of a plan.
struct RenameStatus {
    enum class Kind { invalid, rename, caseOnlyRename, unchanged, duplicate, excluded };

    Kind kind = Kind::unchanged;
    std::optional<NameValidationError> problem; // set for invalid only

    static RenameStatus invalid(NameValidationError problem) { return {Kind::invalid, std::move(problem)}; }
    static RenameStatus of(Kind kind) { return {kind, std::nullopt}; }

    bool willRename() const { return kind == Kind::rename || kind == Kind::caseOnlyRename; }
    bool isConflict() const { return kind == Kind::invalid || kind == Kind::duplicate; }

    bool operator==(const RenameStatus&) const = default;
};

std::string_view rawValue(RenameStatus::Kind kind);

} // namespace morvane
