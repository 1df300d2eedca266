#pragma once

#include <cstddef>
#include <string>

namespace morvane {

// Something a rule has to say about one item rather than about its own
// settings: a value the file lacks. An error means the rule was bypassed for
// the item (its name went on as the rule received it); a warning means the
// rule ran, with nothing where the missing value would have gone.
struct ItemNote {
    enum class Level { warning, error };

    std::size_t entry = 0; // the item's position among the plan's entries
    std::size_t step = 0;  // the step whose rule spoke
    Level level = Level::warning;
    std::string message; // in the engine's language, naming the item

    bool operator==(const ItemNote&) const = default;
};

} // namespace morvane
