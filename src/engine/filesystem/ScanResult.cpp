#include "engine/filesystem/ScanResult.h"

#include "engine/support/Localization.h"

namespace morvane {

std::string ScanResult::unreadableNamesMessage() const {
    return unreadableNamesMessage(std::to_string(unreadableNameCount));
}

std::string ScanResult::unreadableNamesMessage(std::string_view writtenCount) const {
    if (unreadableNameCount == 0) {
        return {};
    }
    return localizedCount("%lld item with an unreadable name was left out",
                          "%lld items with unreadable names were left out",
                          static_cast<long long>(unreadableNameCount), writtenCount);
}

} // namespace morvane
