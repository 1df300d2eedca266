#include "engine/core/NameValidation.h"

#include "engine/support/Unicode.h"

namespace morvane {
namespace {

bool isForbidden(std::string_view character) {
    return character == "/" || character == ":" || character == std::string_view("\0", 1);
}

// "/" and NUL cut a path whatever combining marks follow them, so a character
// that merely contains one of those bytes is refused as well: letting it
// through would move the file into another folder or fail at the system call.
bool cutsPath(std::string_view character) {
    return character.find('/') != std::string_view::npos || character.find('\0') != std::string_view::npos;
}

} // namespace

std::optional<NameValidationError> NameValidation::validate(std::string_view name) {
    if (name.empty()) {
        return NameValidationError::of(NameValidationError::Kind::empty);
    }
    // No character is canonically equivalent to "/" or ":", so a name without
    // those bytes (or NUL) needs no look at its characters.
    bool mayBeForbidden = false;
    for (const char c : name) {
        mayBeForbidden |= c == '/' || c == ':' || c == '\0';
    }
    if (!mayBeForbidden) {
        // nothing to find
    } else if (unicode::isSimpleAscii(name)) {
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (isForbidden(name.substr(i, 1))) {
                return NameValidationError::forbidden(std::string(name.substr(i, 1)));
            }
        }
    } else {
        for (const std::string_view character : unicode::graphemes(name)) {
            if (cutsPath(character) || isForbidden(unicode::nfc(character))) {
                return NameValidationError::forbidden(std::string(character));
            }
        }
    }
    if (name.front() == '.') {
        return NameValidationError::of(NameValidationError::Kind::leadingDot);
    }
    if (name.size() > maxBytes) {
        return NameValidationError::of(NameValidationError::Kind::tooLong);
    }
    return std::nullopt;
}

} // namespace morvane
