#pragma once

#include "engine/support/PluralFormula.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

// The translations of one gettext catalogue: English text -> translated text.
// Translators edit .po files with their usual tools. An entry with
// msgid_plural keeps every msgstr[n], and the header's "Plural-Forms" says
// which goes with a number. Contexts are read past, and entries left
// untranslated (an empty msgstr) or marked fuzzy are not used.
class PoCatalogue {
public:
    static PoCatalogue parse(std::string_view text);

    // Adds every entry of `other`, replacing entries with the same key, and
    // takes its plural formula when it states one.
    void merge(const PoCatalogue& other);

    // The translation of `key`; for a plural entry, its first form.
    const std::string* find(std::string_view key) const;
    // The form of the plural entry whose msgid is `singular` that goes with
    // `count`; nothing when there is no such entry or it lacks that form.
    const std::string* findPlural(std::string_view singular, std::uint64_t count) const;
    std::size_t size() const { return entries_.size(); }

    struct Entry {
        std::vector<std::string> forms; // one unless the entry has plural forms
        bool isPlural = false;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Entries = std::unordered_map<std::string, Entry, Hash, std::equal_to<>>;
    // Every usable entry by key, for checking a catalogue as a whole.
    const Entries& entries() const { return entries_; }
    // The rule for plural forms: the header's, else English's one/other.
    const PluralFormula& pluralFormula() const { return plural_; }
    bool statesPluralForms() const { return statesPlural_; }

private:
    Entries entries_;
    PluralFormula plural_;
    bool statesPlural_ = false; // the header gave a formula of its own
};

} // namespace morvane
