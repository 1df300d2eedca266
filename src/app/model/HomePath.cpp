#include "app/model/HomePath.h"

#include "engine/support/Paths.h"

namespace morvane::app {

std::string abbreviatingHome(const std::string& path, const std::string& home) {
    if (Paths::componentCount(home) > 0 && Paths::isPrefix(home, path)) {
        return Paths::replacingPrefix(home, "~", path);
    }
    return path;
}

} // namespace morvane::app
