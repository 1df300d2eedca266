#include "engine/rules/AffixRule.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/CounterRule.h"
#include "engine/rules/DateRule.h"
#include "engine/rules/FolderRule.h"
#include "engine/rules/NameRule.h"
#include "engine/rules/RegexRule.h"
#include "engine/rules/RemoveRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/rules/SegmentRule.h"
#include "engine/rules/TemplateRule.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace morvane {
namespace {

template <typename Rule>
std::shared_ptr<const RenameRule> rule(Rule value) {
    return std::make_shared<const Rule>(std::move(value));
}

TEST(RuleSummaries, ReadTheSameInEnglishAndSpanishWithTheirTypography) {
    using Segment = SegmentRule;
    const std::tuple<std::shared_ptr<const RenameRule>, const char*, const char*> cases[] = {
        {rule(NameRule{NameRule::Mode::fixed, "Holiday"}), "Fixed \u201CHoliday\u201D",
         "Fijo \u201CHoliday\u201D"},
        {rule(AffixRule{"2024_", "-", 4, "_v2"}),
         "prefix \u201C2024_\u201D, insert at 4, suffix \u201C_v2\u201D",
         "prefijo \u201C2024_\u201D, insertar en 4, sufijo \u201C_v2\u201D"},
        {rule(RemoveRule{}), "Remove trim spaces", "Eliminar espacios sobrantes"},
        {rule(RemoveRule{4, 2, "_-", false}), "Remove first 4, last 2, \u201C_-\u201D",
         "Eliminar 4 primeros caracteres, 2 \u00FAltimos caracteres, \u201C_-\u201D"},
        {rule(RegexRule{}), "\u201C^IMG_(\\d+)\u201D \u2192 \u201Cphoto-$1\u201D",
         "\u201C^IMG_(\\d+)\u201D \u2192 \u201Cphoto-$1\u201D"},
        {rule(RegexRule{{{"a", "b", true}, {"c", "", true}, {"d", "e", false}, {"", "f", true}}, false}),
         "2 patterns", "2 patrones"},
        {rule(CounterRule{CounterRule::Position::replace, -3, 1, 0, ""}),
         "Start -3 \u00B7 width 0 \u00B7 replaces name",
         "Inicio -3 \u00B7 ancho 0 \u00B7 sustituye el nombre"},
        {rule(DateRule{DateRule::Source::created, "yyyyMMdd", DateRule::Position::after, " ", "UTC"}),
         "Created yyyyMMdd \u00B7 after name", "Creaci\u00F3n yyyyMMdd \u00B7 despu\u00E9s del nombre"},
        {rule(DateRule{DateRule::Source::taken, "yyyy", DateRule::Position::before, "", std::nullopt}),
         "Taken yyyy \u00B7 before name", "Captura yyyy \u00B7 antes del nombre"},
        {rule(FolderRule{FolderRule::Position::after, " "}), "Parent folder after name",
         "Carpeta superior despu\u00E9s del nombre"},
        {rule(TemplateRule{"", std::nullopt}), "Not set", "Sin definir"},
        // Pairs with an empty find or switched off do not count.
        {rule(ReplaceRule{{{"a", "b", true}, {"c", "d", true}, {"", "e", true}}, false}), "2 replacements",
         "2 reemplazos"},
        {rule(ReplaceRule{{{"a", "b", false}, {"", "e", true}}, false}), "Not set", "Sin definir"},
        {rule(CaseRule{}), "lowercase \u00B7 ext lowercase", "min\u00fasculas \u00B7 ext. min\u00fasculas"},
        {rule(CaseRule{CaseRule::Mode::same, CaseRule::ExtensionMode::upper}), "Same \u00B7 ext UPPERCASE",
         "Igual \u00B7 ext. MAY\u00daSCULAS"},
        {rule(CaseRule{CaseRule::Mode::title, CaseRule::ExtensionMode::same}), "Title Case",
         "Tipo T\u00edtulo"},
        {rule(Segment{}), "Keep segment 2 by \u201C_\u201D", "Conservar segmento 2 por \u201C_\u201D"},
        {rule(Segment{Segment::Selection::characters, "_", 2, 3, 5, 4, Segment::Action::remove}),
         "Remove characters 3\u20135", "Eliminar caracteres 3\u20135"},
        {rule(Segment{Segment::Selection::fromCharacter, "_", 2, 2, 4, 4, Segment::Action::moveToBeginning}),
         "Move character 2 to end to beginning", "Mover del car\u00E1cter 2 al final al principio"},
        {rule(Segment{Segment::Selection::lastCount, "_", 2, 1, 4, 2, Segment::Action::moveToEnd}),
         "Move last 2 to end", "Mover 2 \u00FAltimos caracteres al final"},
    };
    for (const auto& [value, english, spanish] : cases) {
        EXPECT_EQ(value->summary(), english);
        const testing::LanguageScope inSpanish("es");
        EXPECT_EQ(value->summary(), spanish);
    }
}

// Counts inside a summary take the language's plural forms (Polish has three),
// and the user's own characters its quotation marks.
TEST(RuleSummaries, CountedPartsAgreeWithTheirNumber) {
    const testing::LanguageScope inPolish("pl");
    EXPECT_EQ(RemoveRule(1, 5, "_", false).summary(),
              "Usu\u0144 pierwszy 1 znak, ostatnich 5 znak\u00F3w, \u201E_\u201D");
    EXPECT_EQ(RemoveRule(3, 22, "", false).summary(), "Usu\u0144 pierwsze 3 znaki, ostatnie 22 znaki");
    const testing::LanguageScope inFrench("fr");
    EXPECT_EQ(RemoveRule(0, 1, "-", false).summary(),
              "Supprimer 1 dernier caract\u00E8re, \u00AB\u202F-\u202F\u00BB");
}

// The user's own texts stand in the language's quotation marks, taken as
// they are: a "%@" or "%lld" typed into them is not a placeholder.
TEST(RuleSummaries, QuoteTheUsersTextsTheLanguagesWay) {
    const ReplaceRule replace("IMG_", "santa-cruz-", false);
    const RegexRule regex({{"^IMG_(\\d+)", "%@-$1", true}}, false);
    EXPECT_EQ(replace.summary(), "\u201CIMG_\u201D \u2192 \u201Csanta-cruz-\u201D");
    EXPECT_EQ(regex.summary(), "\u201C^IMG_(\\d+)\u201D \u2192 \u201C%@-$1\u201D");
    {
        const testing::LanguageScope inFrench("fr");
        EXPECT_EQ(replace.summary(),
                  "\u00AB\u202FIMG_\u202F\u00BB \u2192 \u00AB\u202Fsanta-cruz-\u202F\u00BB");
        EXPECT_EQ(regex.summary(),
                  "\u00AB\u202F^IMG_(\\d+)\u202F\u00BB \u2192 \u00AB\u202F%@-$1\u202F\u00BB");
    }
    const testing::LanguageScope inGerman("de");
    EXPECT_EQ(ReplaceRule("100%", "%lld", true).summary(), "\u201E100%\u201C \u2192 \u201E%lld\u201C");
    EXPECT_EQ(regex.summary(), "\u201E^IMG_(\\d+)\u201C \u2192 \u201E%@-$1\u201C");
}

} // namespace
} // namespace morvane
