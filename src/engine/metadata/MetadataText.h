#pragma once

#include <string_view>

namespace morvane {

// A value as metadata holds it, without the padding writers leave around it:
// spaces, tabs, line breaks and the NULs of fixed-size fields.
inline std::string_view trimmedMetadataText(std::string_view text) {
    const auto isPadding = [](char c) {
        return c == ' ' || c == '\0' || c == '\t' || c == '\n' || c == '\r';
    };
    while (!text.empty() && isPadding(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isPadding(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace morvane
