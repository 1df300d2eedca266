#include "engine/core/RenameStatus.h"

#include <array>

namespace morvane {

std::string_view rawValue(RenameStatus::Kind kind) {
    static constexpr std::array<std::string_view, 7> kRawValues{
        "invalid", "rename", "caseOnlyRename", "unchanged", "duplicate", "excluded", "nameTaken"};
    return kRawValues[static_cast<std::size_t>(kind)];
}

} // namespace morvane
