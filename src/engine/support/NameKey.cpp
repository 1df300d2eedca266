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

// FNV-1a over the bytes of a key, lowering ASCII capitals on the way where
// the key ignores case.
template <bool Lower>
std::uint64_t hashBytes(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(Lower ? asciiLower(c) : c)) * 0x100000001b3ULL;
    }
    return hash;
}

} // namespace

bool NameKey::haveOneKey(std::string_view a, std::string_view b, bool caseSensitive) {
    if (unicode::isAscii(a) && unicode::isAscii(b)) {
        if (a.size() != b.size()) {
            return false;
        }
        if (caseSensitive) {
            return a == b;
        }
        return std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    }
    return NameKey(a, caseSensitive) == NameKey(b, caseSensitive);
}

std::uint64_t NameKey::hashOf(std::string_view name, bool caseSensitive) {
    if (unicode::isAscii(name)) {
        return caseSensitive ? hashBytes<false>(name) : hashBytes<true>(name);
    }
    return hashBytes<false>(NameKey(name, caseSensitive).text());
}

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
