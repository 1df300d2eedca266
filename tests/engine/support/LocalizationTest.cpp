#include "engine/support/Localization.h"

#include "engine/core/RuleKind.h"
#include "engine/support/CatalogueSet.h"
#include "engine/support/PluralFormula.h"
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
    const LanguageScope spanish("es");
    EXPECT_EQ(title(RuleKind::letterCase), "May\u00fasculas");
    EXPECT_EQ(localized("A text no table knows"), "A text no table knows");
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

// The rules of three kinds of language, as their catalogues state them.
TEST(PluralFormula, PicksTheFormTheLanguageUses) {
    const auto english = PluralFormula();
    EXPECT_EQ(english.formCount(), 2u);
    EXPECT_EQ(english.formFor(1), 0u);
    EXPECT_EQ(english.formFor(0), 1u);
    EXPECT_EQ(english.formFor(2), 1u);

    const auto russian = PluralFormula::parse(
        " nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) "
        "? 1 : 2);");
    ASSERT_TRUE(russian);
    std::string forms;
    for (const std::uint64_t n : {1, 2, 5, 11, 12, 21, 22, 25, 101, 111, 1000000}) {
        forms += std::to_string(russian->formFor(n));
    }
    EXPECT_EQ(forms, "01222012022");

    const auto arabic = PluralFormula::parse("nplurals=6; plural=n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : "
                                             "n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5;");
    ASSERT_TRUE(arabic);
    forms.clear();
    for (const std::uint64_t n : {0, 1, 2, 3, 10, 11, 99, 100, 102}) {
        forms += std::to_string(arabic->formFor(n));
    }
    EXPECT_EQ(forms, "012334455");

    const auto none = PluralFormula::parse("nplurals=1; plural=0;");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->formFor(1), 0u);
    EXPECT_EQ(none->formFor(7), 0u);
    // A formula that names a form the language lacks falls back to the first.
    EXPECT_EQ(PluralFormula::parse("nplurals=2; plural=n+5;")->formFor(3), 0u);
    EXPECT_EQ(PluralFormula::parse("nplurals=2; plural=!(n%0 == 0);")->formFor(3), 0u);

    for (const char* broken :
         {"", "nplurals=2;", "plural=(n != 1);", "nplurals=x; plural=n;", "nplurals=2; plural=(n != 1;",
          "nplurals=2; plural=n !! 1;", "nplurals=2; plural=n ? 1;", "nplurals=0; plural=0;"}) {
        EXPECT_FALSE(PluralFormula::parse(broken)) << broken;
    }
}

TEST(PoCatalogue, KeepsEveryPluralFormAndTheHeadersRule) {
    const auto catalogue = PoCatalogue::parse(R"(msgid ""
msgstr ""
"Language: pl\n"
"Plural-Forms: nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\n"

msgid "%lld file"
msgid_plural "%lld files"
msgstr[0] "%lld plik"
msgstr[1] "%lld pliki"
msgstr[2] "%lld plik"
"ów"

msgid "%lld folder"
msgid_plural "%lld folders"
msgstr[0] "%lld folder"
msgstr[1] ""
msgstr[2] "%lld folderów"
)");
    const auto form = [&](std::uint64_t n) {
        const std::string* found = catalogue.findPlural("%lld file", n);
        return found != nullptr ? *found : std::string("(none)");
    };
    EXPECT_EQ(form(1), "%lld plik");
    EXPECT_EQ(form(3), "%lld pliki");
    EXPECT_EQ(form(5), "%lld plików");
    EXPECT_EQ(form(22), "%lld pliki");
    EXPECT_EQ(catalogue.findPlural("%lld folder", 5), nullptr) << "a form left empty is untranslated";
    EXPECT_EQ(catalogue.findPlural("%lld files", 5), nullptr) << "entries are found by their singular";
}

TEST(Localization, CountedTextsTakeTheFormForTheirNumber) {
    EXPECT_EQ(localizedCount("%lld item", "%lld items", 1), "1 item");
    EXPECT_EQ(localizedCount("%lld item", "%lld items", 0), "0 items");
    EXPECT_EQ(localizedCount("%lld item in %@", "%lld items in %@", 2, 2, "Docs"), "2 items in Docs");
    EXPECT_EQ(localizedCount("Segment %lld does not exist \u2014 %lld segment",
                             "Segment %lld does not exist \u2014 %lld segments", 1, 4, 1),
              "Segment 4 does not exist \u2014 1 segment");
    LanguageScope spanish("es");
    EXPECT_EQ(localizedCount("%lld replacement", "%lld replacements", 1), "1 reemplazo");
    EXPECT_EQ(localizedCount("%lld replacement", "%lld replacements", 21), "21 reemplazos");
    EXPECT_EQ(localizedCount("%lld item with an unreadable name was left out",
                             "%lld items with unreadable names were left out", 1),
              "Se ha omitido 1 elemento con un nombre ilegible");
    // A text the table lacks falls back to English, with the English rule.
    EXPECT_EQ(localizedCount("%lld thing", "%lld things", 1), "1 thing");
    EXPECT_EQ(localizedCount("%lld thing", "%lld things", 3), "3 things");
}

} // namespace
} // namespace morvane
