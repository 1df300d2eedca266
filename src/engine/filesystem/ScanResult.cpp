#include "engine/filesystem/ScanResult.h"

#include "engine/support/Localization.h"

namespace morvane {

std::string ScanResult::unreadableNamesMessage() const {
    if (unreadableNameCount == 0) {
        return {};
    }
    if (unreadableNameCount == 1) {
        return localized("1 item with an unreadable name was left out");
    }
    return localized("%lld items with unreadable names were left out", unreadableNameCount);
}

} // namespace morvane
