#pragma once

#include "app/model/AppearanceChoice.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// The options a run of the application starts with, for its first window:
// "--open PATH", "--appearance=system|light|dark", "--language=CODE",
// "--settings", "--list", "--welcome", "--presets", "--sheet", "--demo", and
// the files and folders a file manager hands over ("Open With"), as plain
// arguments (all arguments after "--" are paths). Other options are left
// alone (the toolkit has options of its own).
struct LaunchOptions {
    std::optional<std::string> open;
    std::vector<std::string> paths; // as given, in order
    std::optional<AppearanceChoice> appearance;
    std::optional<std::string> language; // as given; the model checks it is known
    bool settings = false;
    bool list = false;
    bool welcome = false;
    bool presets = false;
    bool sheet = false;
    bool demo = false;
    bool mentionsOpen = false; // some argument is exactly "--open"

    // Whether the run starts on items of the user's choosing.
    bool opensSomething() const { return mentionsOpen || !paths.empty(); }

    static LaunchOptions parse(const std::vector<std::string>& arguments);

    // The process's arguments (without the program) for the first model
    // created afterwards. Without an offer, the application's own arguments.
    static void offer(std::vector<std::string> arguments);
    // The offered arguments, once: every later call, and so every later
    // window, gets nothing.
    static std::optional<std::vector<std::string>> takeForFirstModel();
};

} // namespace morvane::app
