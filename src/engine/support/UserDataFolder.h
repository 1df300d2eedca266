#pragma once

#include <optional>
#include <string>

namespace morvane {

// The one place that decides where the engine keeps its per-user data (the
// history now, presets later): the XDG data folder, then "Morvane".
class UserDataFolder {
public:
    // $XDG_DATA_HOME (or ~/.local/share) + "/Morvane". Throws std::runtime_error
    // when neither the variable nor a home folder can be found.
    static std::string root();

    // The rule behind `root`, given the two environment values (absent or
    // empty when unset) and the home folder of the user's account entry.
    static std::optional<std::string> rootFrom(const std::optional<std::string>& xdgDataHome,
                                               const std::optional<std::string>& home,
                                               const std::optional<std::string>& accountHome);
};

} // namespace morvane
