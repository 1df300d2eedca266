#include "engine/support/PreferredLanguages.h"

#include <gtest/gtest.h>

#include <map>

namespace morvane {
namespace {

using Languages = std::vector<std::string>;

Languages fromVariables(const std::map<std::string, std::string>& variables) {
    return PreferredLanguages::fromEnvironment([&](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    });
}

TEST(PreferredLanguages, ReadsTheLocaleVariablesAsGettextDoes) {
    EXPECT_EQ(fromVariables({{"LANG", "ca_ES.UTF-8@valencia"}}), Languages{"ca_ES.UTF-8@valencia"});
    EXPECT_EQ(fromVariables({{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}}),
              Languages{"de_DE.UTF-8"});
    EXPECT_EQ(fromVariables({{"LC_MESSAGES", "de_DE.UTF-8"}, {"LC_ALL", "es_ES.UTF-8"}}),
              Languages{"es_ES.UTF-8"});
    // LANGUAGE's list comes first, its empty and "C" entries passed over.
    EXPECT_EQ(fromVariables({{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "nl::C:pt_BR"}}),
              (Languages{"nl", "pt_BR", "fr_FR.UTF-8"}));
    // A "C" locale, or none, asks for no language: LANGUAGE is not read then.
    EXPECT_EQ(fromVariables({{"LC_ALL", "C.UTF-8"}, {"LANGUAGE", "de"}, {"LANG", "fr_FR.UTF-8"}}),
              Languages{});
    EXPECT_EQ(fromVariables({{"LANG", "POSIX"}}), Languages{});
    EXPECT_EQ(fromVariables({{"LANGUAGE", "de"}}), Languages{});
}

TEST(PreferredLanguages, MatchTheFirstKnownLanguageByTagOrLanguage) {
    const Languages ours{"en", "fr", "ca", "ca-ES-valencia", "pt"};
    const auto match = [&](const Languages& preferred) { return PreferredLanguages::match(preferred, ours); };
    EXPECT_EQ(match({"ca_ES.UTF-8@valencia"}), "ca-ES-valencia");
    EXPECT_EQ(match({"ca-valencia"}), "ca-ES-valencia");
    EXPECT_EQ(match({"ca_AD.UTF-8"}), "ca");
    EXPECT_EQ(match({"fr-CA", "en"}), "fr");
    EXPECT_EQ(match({"ja_JP.UTF-8", "pt_BR"}), "pt");
    EXPECT_EQ(match({"FR_fr"}), "fr");
    EXPECT_EQ(match({"ja", "zz"}), std::nullopt);
    EXPECT_EQ(match({}), std::nullopt);
    // Valencian where only Catalan is known.
    EXPECT_EQ(PreferredLanguages::match({"ca_ES@valencia"}, {"en", "ca"}), "ca");
}

} // namespace
} // namespace morvane
