#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

// The plain-text form of find/replace pair lists: one pair per line, the find
// text, a tab, the replacement. Reading also accepts "→" and "=" as separators,
// so lists typed by hand or pasted from elsewhere work.
class PairText {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    // Never fails: a line without a separator is a find text with an empty
    // replacement. A byte-order mark at the very start is passed over.
    static Pairs parse(std::string_view text);
    // Tabs and line breaks inside the texts become spaces, so every pair stays one line.
    static std::string tsv(const Pairs& pairs);
};

} // namespace morvane
