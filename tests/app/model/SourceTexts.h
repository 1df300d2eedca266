#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace morvane::app::testing {

// The texts for people that a part of the program looks up, read from its
// C++ sources, so that a catalogue cannot silently lack one. A text counts as
// looked up when it is the first argument of a lookup ("localized(...)",
// "ui(...)", "Localizer::format(...)" and the like) written as a string
// literal; texts kept in tables and looked up later are literals elsewhere.
struct SourceTexts {
    std::set<std::string> lookedUp; // first literal argument of a lookup
    std::set<std::string> counted;  // first literal argument of a lookup with plural forms
    std::set<std::string> literals; // every string literal, adjacent literals joined

    // Every .cpp and .h file below `folder`.
    static SourceTexts scan(const std::filesystem::path& folder);
    // One source file's text.
    void add(std::string_view source);
};

} // namespace morvane::app::testing
