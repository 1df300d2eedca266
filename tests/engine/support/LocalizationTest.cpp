#include "engine/support/Localization.h"

#include "engine/core/RuleKind.h"
#include "engine/support/CatalogueSet.h"
#include "engine/support/PoCatalogue.h"
#include "engine/testing/LanguageScope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace morvane {
namespace {

using testing::LanguageScope;

TEST(Localization, LooksTextsUpInTheChosenLanguageWithEnglishAsFallback) {
    EXPECT_EQ(Localization::language(), "en");
    EXPECT_EQ(title(RuleKind::letterCase), "Case");
    {
        LanguageScope spanish("es");
        EXPECT_EQ(title(RuleKind::letterCase), "May\u00fasculas");
        EXPECT_EQ(localized("%lld replacements", 3), "3 reemplazos");
        EXPECT_EQ(localized("A text no table knows"), "A text no table knows");
    }
    {
        LanguageScope regional("es-MX");
        EXPECT_EQ(title(RuleKind::replace), "Reemplazar");
    }
    {
        LanguageScope unknown("xx");
        EXPECT_EQ(title(RuleKind::folder), "Folder Name");
    }
}

TEST(CatalogueSet, FallsBackSubtagBySubtagThenToEnglish) {
    const CatalogueSet set({{"ca", "msgid \"Open\"\nmsgstr \"Obre\"\n"},
                            {"ca-ES-valencia", "msgid \"Close\"\nmsgstr \"Tanca\"\n"},
                            {"en", "msgid \"Colour\"\nmsgstr \"Color\"\n"}});
    EXPECT_EQ(set.text("ca-ES-valencia", "Close"), "Tanca");
    EXPECT_EQ(set.text("ca-ES-valencia", "Open"), "Obre");
    EXPECT_EQ(set.text("ca-ES", "Open"), "Obre");
    EXPECT_EQ(set.text("ca_ES", "Open"), "Obre");
    EXPECT_EQ(set.text("ca-ES", "Colour"), "Color");
    EXPECT_EQ(set.text("fr-CA", "Open"), "Open");
    EXPECT_EQ(set.catalogueFor("fr"), nullptr);
    EXPECT_EQ(set.languages(), (std::vector<std::string>{"en", "ca", "ca-ES-valencia"}));
}

TEST(Localization, FillsPlaceholdersInOrder) {
    EXPECT_EQ(Localization::substitute("%@ has %lld files (%@)", {"Docs", 12, "ok"}),
              "Docs has 12 files (ok)");
    EXPECT_EQ(Localization::substitute("%lld%%", {-5}), "-5%");
    EXPECT_EQ(Localization::substitute("missing %@ and %@", {"one"}), "missing one and ");
}

TEST(Localization, ShipsAtLeastSpanish) {
    const auto languages = Localization::availableLanguages();
    EXPECT_EQ(languages.front(), "en");
    EXPECT_NE(std::find(languages.begin(), languages.end(), "es"), languages.end());
}

// Plans run on a background thread while the user switches language: every
// text must come out whole in one language or the other.
TEST(Localization, SwitchingLanguageWhileReadingIsSafe) {
    std::atomic<bool> stop{false};
    std::thread switcher([&] {
        for (int i = 0; i < 2000; ++i) {
            Localization::setLanguage(i % 2 ? "es" : "en");
        }
        stop = true;
    });
    while (!stop) {
        const std::string text = title(RuleKind::replace);
        ASSERT_TRUE(text == "Replace" || text == "Reemplazar") << text;
    }
    switcher.join();
    Localization::setLanguage("en");
}

TEST(PoCatalogue, ReadsWhatTranslatorsToolsWrite) {
    const auto catalogue = PoCatalogue::parse(R"(# header
msgid ""
msgstr "Language: es\n"

#: somewhere
msgid "Two "
"lines"
msgstr "Dos "
"l\u00edneas \"citadas\"\t"

#, fuzzy
msgid "Guess"
msgstr "Adivinanza"

msgid "Untranslated"
msgstr ""

msgctxt "menu"
msgid "Open"
msgstr "Abrir"

msgid "%lld file"
msgid_plural "%lld files"
msgstr[0] "%lld archivo"
msgstr[1] "%lld archivos"
)");
    ASSERT_NE(catalogue.find("Two lines"), nullptr);
    EXPECT_EQ(*catalogue.find("Two lines"), "Dos l\\u00edneas \"citadas\"\t");
    EXPECT_EQ(catalogue.find("Guess"), nullptr);
    EXPECT_EQ(catalogue.find("Untranslated"), nullptr);
    EXPECT_EQ(catalogue.find(""), nullptr);
    ASSERT_NE(catalogue.find("Open"), nullptr);
    EXPECT_EQ(*catalogue.find("Open"), "Abrir");
    ASSERT_NE(catalogue.find("%lld file"), nullptr);
    EXPECT_EQ(*catalogue.find("%lld file"), "%lld archivo");
    EXPECT_EQ(catalogue.size(), 3u);
}

} // namespace
} // namespace morvane
