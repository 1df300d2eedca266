#include "engine/support/LiteralPattern.h"

#include "engine/support/Unicode.h"

#include <limits>

namespace morvane {
namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

LiteralPattern::LiteralPattern(std::string_view needle, bool caseSensitive)
    : needle_(needle), caseSensitive_(caseSensitive), simple_(unicode::isSimpleAscii(needle)) {}

bool LiteralPattern::occursIn(std::string_view text) const {
    return !find(text, 1).empty();
}

std::string LiteralPattern::replaceAll(std::string_view text, std::string_view replacement) const {
    const auto matches = find(text, std::numeric_limits<std::size_t>::max());
    if (matches.empty()) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size() + matches.size() * replacement.size());
    std::size_t copied = 0;
    for (const Match& match : matches) {
        result.append(text.substr(copied, match.start - copied)).append(replacement);
        copied = match.start + match.length;
    }
    result.append(text.substr(copied));
    return result;
}

std::vector<std::string_view> LiteralPattern::split(std::string_view text) const {
    std::vector<std::string_view> pieces;
    std::size_t copied = 0;
    for (const Match& match : find(text, std::numeric_limits<std::size_t>::max())) {
        pieces.push_back(text.substr(copied, match.start - copied));
        copied = match.start + match.length;
    }
    pieces.push_back(text.substr(copied));
    return pieces;
}

std::vector<LiteralPattern::Match> LiteralPattern::find(std::string_view text, std::size_t limit) const {
    if (needle_.empty() || text.empty()) {
        return {};
    }
    if (simple_ && unicode::isSimpleAscii(text)) {
        return findSimple(text, limit);
    }
    return findGraphemes(text, limit);
}

// Every byte is one character here, and ASCII case folding is plain lower-casing.
std::vector<LiteralPattern::Match> LiteralPattern::findSimple(std::string_view text,
                                                              std::size_t limit) const {
    std::vector<Match> matches;
    const std::size_t n = needle_.size();
    std::size_t i = 0;
    while (i + n <= text.size() && matches.size() < limit) {
        bool equal = true;
        for (std::size_t k = 0; k < n && equal; ++k) {
            equal = caseSensitive_ ? text[i + k] == needle_[k]
                                   : asciiLower(text[i + k]) == asciiLower(needle_[k]);
        }
        if (equal) {
            matches.push_back({i, n});
            i += n;
        } else {
            ++i;
        }
    }
    return matches;
}

std::string LiteralPattern::keyOf(std::string_view character) const {
    if (unicode::isSimpleAscii(character)) {
        return caseSensitive_ ? std::string(character) : unicode::toLower(character);
    }
    const std::string composed = unicode::nfc(character);
    return caseSensitive_ ? composed : unicode::nfc(unicode::fold(composed));
}

std::vector<LiteralPattern::Match> LiteralPattern::findGraphemes(std::string_view text,
                                                                 std::size_t limit) const {
    if (needleKeys_.empty()) {
        for (const auto character : unicode::graphemes(needle_)) {
            needleKeys_.push_back(keyOf(character));
        }
    }
    const auto characters = unicode::graphemes(text);
    std::vector<std::string> keys;
    keys.reserve(characters.size());
    for (const auto character : characters) {
        keys.push_back(keyOf(character));
    }

    std::vector<Match> matches;
    const std::size_t n = needleKeys_.size();
    std::size_t i = 0;
    while (i + n <= keys.size() && matches.size() < limit) {
        bool equal = true;
        for (std::size_t k = 0; k < n && equal; ++k) {
            equal = keys[i + k] == needleKeys_[k];
        }
        if (!equal) {
            ++i;
            continue;
        }
        const auto start = static_cast<std::size_t>(characters[i].data() - text.data());
        const auto& last = characters[i + n - 1];
        const auto end = static_cast<std::size_t>(last.data() - text.data()) + last.size();
        matches.push_back({start, end - start});
        i += n;
    }
    return matches;
}

} // namespace morvane
