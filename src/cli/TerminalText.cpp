#include "cli/TerminalText.h"

#include "engine/support/Unicode.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdio>

namespace morvane::cli {
namespace {

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

std::size_t characterWidth(std::string_view character) {
    const auto codePoints = unicode::codePoints(character);
    if (codePoints.empty() || isControl(codePoints.front())) {
        return 0;
    }
    for (const char32_t c : codePoints) {
        const auto width = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH);
        if (width == U_EA_WIDE || width == U_EA_FULLWIDTH ||
            u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_EMOJI_PRESENTATION)) {
            return 2;
        }
    }
    return 1;
}

} // namespace

std::string printable(std::string_view text) {
    // Most texts are plain printable ASCII, as they are.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    for (const char32_t c : unicode::codePoints(text)) {
        if (!isControl(c)) {
            unicode::appendUtf8(result, c);
        } else if (c == U'\n') {
            result += "\\n";
        } else if (c == U'\t') {
            result += "\\t";
        } else if (c == U'\r') {
            result += "\\r";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            result += escape;
        }
    }
    return result;
}

std::size_t displayWidth(std::string_view text) {
    if (unicode::isSimpleAscii(text)) {
        return text.size();
    }
    std::size_t width = 0;
    for (const auto character : unicode::graphemes(text)) {
        width += characterWidth(character);
    }
    return width;
}

std::string Palette::paint(std::string_view text, const char* code) const {
    if (!enabled_ || text.empty()) {
        return std::string(text);
    }
    return std::string("\x1b[") + code + "m" + std::string(text) + "\x1b[0m";
}

std::string Palette::spans(const std::vector<NameDiff::Span>& spans, bool oldSide) const {
    std::string result;
    for (const auto& span : spans) {
        const std::string text = printable(oldSide ? span.old : span.new_);
        switch (span.kind) {
        case NameDiff::Kind::equal:
            result += text;
            break;
        case NameDiff::Kind::caseChange:
            result += paint(text, cyan);
            break;
        case NameDiff::Kind::added:
            result += paint(text, green);
            break;
        case NameDiff::Kind::removed:
            result += paint(text, red);
            break;
        case NameDiff::Kind::replaced:
            result += paint(text, oldSide ? red : yellow);
            break;
        }
    }
    return result;
}

} // namespace morvane::cli
