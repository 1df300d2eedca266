#pragma once

#include "engine/core/NameDiff.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

// A name made safe for a terminal: control characters (a file name may hold a
// newline or an escape sequence) are shown as escapes instead of acting.
std::string printable(std::string_view text);

// Columns the text takes in a terminal: wide East Asian characters and emoji
// take two, combining marks none.
std::size_t displayWidth(std::string_view text);

// Colours for the table; all no-ops when colour is off.
class Palette {
public:
    explicit Palette(bool enabled) : enabled_(enabled) {}

    bool enabled() const { return enabled_; }
    std::string paint(std::string_view text, const char* code) const;
    // The diff's spans of one side, each coloured by what happened to it.
    std::string spans(const std::vector<NameDiff::Span>& spans, bool oldSide) const;

    static constexpr const char* green = "32";
    static constexpr const char* red = "31";
    static constexpr const char* yellow = "33";
    static constexpr const char* cyan = "36";
    static constexpr const char* dim = "2";
    static constexpr const char* bold = "1";

private:
    bool enabled_;
};

} // namespace morvane::cli
