#include "engine/support/UserDataFolder.h"

#include "engine/support/Localization.h"

#include <cstdlib>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace morvane {
namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> accountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

// The XDG rules ignore relative paths: they would depend on the working folder.
bool usable(const std::optional<std::string>& path) {
    return path && path->starts_with('/');
}

// "/" becomes "", so that appending "/Morvane" never doubles a slash.
std::string withoutTrailingSlashes(std::string path) {
    while (path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

} // namespace

std::optional<std::string> UserDataFolder::rootFrom(const std::optional<std::string>& xdgDataHome,
                                                    const std::optional<std::string>& home,
                                                    const std::optional<std::string>& account) {
    if (usable(xdgDataHome)) {
        return withoutTrailingSlashes(*xdgDataHome) + "/Morvane";
    }
    for (const auto* candidate : {&home, &account}) {
        if (usable(*candidate)) {
            return withoutTrailingSlashes(**candidate) + "/.local/share/Morvane";
        }
    }
    return std::nullopt;
}

std::string UserDataFolder::root() {
    const auto home = environment("HOME");
    const auto result =
        rootFrom(environment("XDG_DATA_HOME"), home, usable(home) ? std::nullopt : accountHome());
    if (!result) {
        throw std::runtime_error(localized("Your home folder could not be found"));
    }
    return *result;
}

} // namespace morvane
