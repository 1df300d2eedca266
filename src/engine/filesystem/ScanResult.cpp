#include "engine/filesystem/ScanResult.h"

#include "engine/support/Localization.h"

namespace morvane {

std::string ScanResult::unreadableNamesMessage() const {
    if (unreadableNameCount == 0) {
        return {};
    }
    return localizedCount("%lld item with an unreadable name was left out",
                          "%lld items with unreadable names were left out",
                          static_cast<long long>(unreadableNameCount));
}

} // namespace morvane
