#include "engine/support/NameKey.h"

#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane {
namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Capital sigma is the one character whose lower case, outside Lithuanian,
// Turkish and Azeri rules, depends on its neighbours: "ς" at the end of a
// word. Made small first, every sigma maps the same way wherever it stands.
constexpr std::string_view kCapitalSigma = "\u03A3";
constexpr std::string_view kSmallSigma = "\u03C3";

std::string lowerEachCharacter(std::string text) {
    for (std::size_t at = text.find(kCapitalSigma); at != std::string::npos;
         at = text.find(kCapitalSigma, at + kSmallSigma.size())) {
        text.replace(at, kCapitalSigma.size(), kSmallSigma);
    }
    return unicode::toLower(text);
}

} // namespace

NameKey::NameKey(std::string_view name, bool caseSensitive) : caseSensitive_(caseSensitive) {
    if (unicode::isAscii(name)) {
        text_.assign(name);
        if (!caseSensitive) {
            std::transform(text_.begin(), text_.end(), text_.begin(), asciiLower);
        }
        return;
    }
    text_ = caseSensitive ? unicode::nfc(name) : lowerEachCharacter(unicode::nfc(name));
}

bool NameKey::isKeyOf(std::string_view name) const {
    if (!unicode::isAscii(name)) {
        return NameKey(name, caseSensitive_) == *this;
    }
    if (caseSensitive_) {
        return name == text_;
    }
    return name.size() == text_.size() && std::equal(name.begin(), name.end(), text_.begin(),
                                                     [](char a, char b) { return asciiLower(a) == b; });
}

} // namespace morvane
