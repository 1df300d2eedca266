#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every operation on user-perceived characters goes through here. Most file
// names are ASCII, and planning runs over every item after every keystroke, so
// each function answers ASCII input without ICU wherever the answer is provably
// the same (an ASCII byte is one grapheme cluster, except CR LF which is one).
namespace morvane::unicode {

bool isAscii(std::string_view text);

// ASCII without a carriage return: every byte is exactly one grapheme cluster.
bool isSimpleAscii(std::string_view text);

// The extended grapheme clusters of `text`, as views into it.
std::vector<std::string_view> graphemes(std::string_view text);
std::size_t graphemeCount(std::string_view text);

// Canonical composition (NFC).
std::string nfc(std::string_view text);

// Full, locale-independent case mappings ("ß" upper-cases to "SS").
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
// Full case folding, for matching that ignores letter case.
std::string fold(std::string_view text);

// Equality under canonical equivalence.
bool canonicallyEqual(std::string_view a, std::string_view b);

// The first code point of `text` (U+FFFD for ill-formed input, 0 for empty).
char32_t firstCodePoint(std::string_view text);
bool isWhiteSpace(char32_t c);
bool isAlphabetic(char32_t c);
// Tab and the space separators (general category Zs).
bool isHorizontalSpace(char32_t c);

// `text` without tabs and space separators at either end (line breaks stay).
std::string_view trimmedHorizontalSpace(std::string_view text);

// The code points of `text` (U+FFFD for each ill-formed sequence).
std::vector<char32_t> codePoints(std::string_view text);
// Appends the UTF-8 form of a Unicode scalar value.
void appendUtf8(std::string& text, char32_t c);

// `text` with every character that cannot stand in a file name, or that
// would be invisible there, replaced by "-": "/", ":", the backslash, control and
// format characters (general categories Cc and Cf). For texts from outside
// the user's own typing (preset names, tags read from files) that become
// part of a name.
std::string withUnsafeNameCharactersReplaced(std::string_view text);

// True when `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

} // namespace morvane::unicode
