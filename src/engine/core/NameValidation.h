#pragma once

#include "engine/core/NameValidationError.h"

#include <optional>
#include <string_view>

namespace morvane {

// Decides whether a proposed name can be used as a file name.
class NameValidation {
public:
    static constexpr std::size_t maxBytes = 255;

    // The first problem found, or nothing when the name is acceptable.
    static std::optional<NameValidationError> validate(std::string_view name);
};

} // namespace morvane
