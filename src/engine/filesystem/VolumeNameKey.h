#pragma once

#include "engine/support/Unicode.h"

#include <string>
#include <string_view>

namespace morvane {

// The form under which a volume compares names: canonically composed, and
// lower-cased as well on a case-insensitive volume. Two names with the same
// key denote the same entry of a folder.
inline std::string volumeNameKey(std::string_view name, bool caseSensitive) {
    return caseSensitive ? unicode::nfc(name) : unicode::lowerNfc(name);
}

} // namespace morvane
