#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Why a proposed name cannot be used as a file name.
struct NameValidationError {
    enum class Kind { forbiddenCharacter, empty, leadingDot, tooLong };

    Kind kind = Kind::empty;
    std::string character; // the offending character, for forbiddenCharacter only

    static NameValidationError forbidden(std::string character) {
        return {Kind::forbiddenCharacter, std::move(character)};
    }
    static NameValidationError of(Kind kind) { return {kind, {}}; }

    // The text shown for the problem, in the engine's current language.
    std::string message() const;

    bool operator==(const NameValidationError&) const = default;
};

std::string_view rawValue(NameValidationError::Kind kind);
std::optional<NameValidationError::Kind> nameValidationKindFromRawValue(std::string_view raw);

} // namespace morvane
