#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace morvane {

// The translations of one gettext catalogue: English text -> translated text.
// Translators edit .po files with their usual tools; the program only needs
// msgid/msgstr pairs, so plural forms and contexts are read past, and entries
// left untranslated (empty msgstr) or marked fuzzy are not used.
class PoCatalogue {
public:
    static PoCatalogue parse(std::string_view text);

    // Adds every entry of `other`, replacing entries with the same key.
    void merge(const PoCatalogue& other);

    const std::string* find(std::string_view key) const;
    std::size_t size() const { return entries_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> entries_;
};

} // namespace morvane
