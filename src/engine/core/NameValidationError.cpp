#include "engine/core/NameValidationError.h"

#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"

#include <array>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 4> kRawValues{"forbiddenCharacter", "empty", "leadingDot", "tooLong"};

} // namespace

std::string NameValidationError::message() const {
    switch (kind) {
    case Kind::forbiddenCharacter:
        return localized("Names cannot contain \u201C/\u201D or \u201C:\u201D");
    case Kind::empty:
        return localized("The new name is empty");
    case Kind::leadingDot:
        return localized("Names cannot start with a dot");
    case Kind::tooLong:
        return localized("Names are limited to 255 bytes");
    }
    return {};
}

std::string_view rawValue(NameValidationError::Kind kind) {
    return rawValueIn(kRawValues, kind);
}

std::optional<NameValidationError::Kind> nameValidationKindFromRawValue(std::string_view raw) {
    return enumFromRawValue<NameValidationError::Kind>(kRawValues, raw);
}

} // namespace morvane
