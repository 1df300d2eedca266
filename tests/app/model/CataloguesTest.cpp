// Every catalogue against the texts the sources look up: nothing missing,
// nothing left over, placeholders and plural forms as the language needs them.
#include "SourceTexts.h"
#include "app/TestClasses.h"
#include "app/model/AppLanguage.h"
#include "app/model/Localizer.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/support/CatalogueSet.h"
#include "engine/support/Localization.h"

#include <QTest>
#include <map>
#include <regex>
#include <set>

namespace morvane::app::testing {
namespace {

// One part of the program with texts of its own.
struct TextSet {
    std::vector<morvane::detail::EmbeddedCatalogue> files;
    CatalogueSet catalogues;
    SourceTexts sources;
    // Every text the sources look up, directly or from a table.
    std::set<std::string> keys;

    // `runTimeTexts`: texts that reach the lookup from outside the sources
    // of `folder` (the engine's data shown by the window, the C library's).
    TextSet(std::vector<morvane::detail::EmbeddedCatalogue> files_, const char* folder,
            const std::set<std::string>& runTimeTexts)
        : files(std::move(files_)), catalogues(files),
          sources(SourceTexts::scan(std::filesystem::path(MORVANE_SOURCE_DIR) / folder)),
          keys(sources.lookedUp) {
        for (const auto& file : files) {
            const auto catalogue = PoCatalogue::parse(file.text);
            for (const auto& [key, entry] : catalogue.entries()) {
                if (sources.literals.contains(key) || runTimeTexts.contains(key)) {
                    keys.insert(key);
                }
            }
        }
    }

    // The first entry for `key` along the fallback of `language`.
    const PoCatalogue::Entry* entry(const std::string& language, const std::string& key) const {
        for (const PoCatalogue* catalogue : catalogues.chain(language)) {
            if (const auto found = catalogue->entries().find(key); found != catalogue->entries().end()) {
                return &found->second;
            }
        }
        return nullptr;
    }

    // What is wrong with `language`'s texts: missing keys, and counted texts
    // without plural forms or plain ones with them.
    std::string problems(const std::string& language) const {
        std::string result;
        for (const std::string& key : keys) {
            const auto* found = entry(language, key);
            if (found == nullptr) {
                result += "\n  missing: \"" + key + "\"";
            } else if (sources.counted.contains(key) && !found->isPlural) {
                result += "\n  counted, but without plural forms: \"" + key + "\"";
            } else if (!sources.counted.contains(key) && found->isPlural) {
                result += "\n  looked up as a plain text, but has plural forms: \"" + key + "\"";
            }
        }
        return result;
    }
};

// The C library's descriptions of error numbers, which reach the engine's
// lookup at run time rather than from its sources.
std::set<std::string> systemErrorTexts() {
    Localization::setLanguage("en");
    std::set<std::string> texts;
    for (int code = 1; code < 200; ++code) {
        texts.insert(systemErrorText(code));
    }
    return texts;
}

const TextSet& engineTexts() {
    static const TextSet set(morvane::detail::embeddedCatalogues(), "src/engine", systemErrorTexts());
    return set;
}

const TextSet& applicationTexts() {
    // The window also translates names the engine holds, such as the factory presets'.
    static const TextSet set(
        detail::appCatalogues(), "src/app",
        SourceTexts::scan(std::filesystem::path(MORVANE_SOURCE_DIR) / "src/engine").literals);
    return set;
}

std::vector<std::string> placeholders(const std::string& text) {
    static const std::regex placeholder("%@|%lld|%%");
    std::vector<std::string> result;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator();
         ++it) {
        result.push_back(it->str());
    }
    return result;
}

void addLanguageRows() {
    QTest::addColumn<QString>("language");
    for (const AppLanguage& language : AppLanguage::all()) {
        if (language.code != "en") {
            QTest::newRow(language.code.c_str()) << QString::fromStdString(language.code);
        }
    }
}

} // namespace

class CataloguesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { Localization::setLanguage("en"); }

    // Lookups are recognised in what the sources look like: escapes decoded,
    // adjacent literals joined, comments and character literals passed over.
    void theSourcesTextsAreFound() {
        SourceTexts texts;
        texts.add("// localized(\"In a comment\")\n"
                  "const char quote = '\"'; const long big = 1'000'000;\n"
                  "return localized(\"The \\u201C%@\\u201D is \"\n"
                  "                 /* joined */ \"gone\", name);\n"
                  "out << localizedCount(\"%lld file\", \"%lld files\", n) << Localizer::format(\"%lld of "
                  "%lld\", a, b);\n"
                  "setText(ui(\"Open\\u2026\")); const char* kept = \"Kept\";\n");
        QCOMPARE(texts.lookedUp, (std::set<std::string>{"The \u201C%@\u201D is gone", "%lld file",
                                                        "%lld of %lld", "Open\u2026"}));
        QCOMPARE(texts.counted, std::set<std::string>{"%lld file"});
        QVERIFY(texts.literals.contains("Kept"));
        QVERIFY(!texts.literals.contains("In a comment"));

        // And in the real sources.
        QVERIFY(engineTexts().sources.counted.contains("%lld replacement"));
        QVERIFY(engineTexts().keys.contains("Permission denied"));
        QVERIFY(applicationTexts().sources.lookedUp.contains("No conflicts"));
    }

    void engineTextsAreTranslated_data() { addLanguageRows(); }
    void engineTextsAreTranslated() {
        QFETCH(QString, language);
        const std::string problems = engineTexts().problems(language.toStdString());
        QVERIFY2(problems.empty(), problems.c_str());
    }

    void applicationTextsAreTranslated_data() { addLanguageRows(); }
    void applicationTextsAreTranslated() {
        QFETCH(QString, language);
        const std::string problems = applicationTexts().problems(language.toStdString());
        QVERIFY2(problems.empty(), problems.c_str());
    }

    void catalogueFilesAreSound_data() {
        QTest::addColumn<int>("set");
        QTest::newRow("engine") << 0;
        QTest::newRow("application") << 1;
    }
    // Per file: only keys the sources look up, the key's placeholders in the
    // key's order in every form, and as many plural forms as the language has.
    void catalogueFilesAreSound() {
        QFETCH(int, set);
        const TextSet& texts = set == 0 ? engineTexts() : applicationTexts();
        std::set<std::string> known;
        for (const AppLanguage& language : AppLanguage::all()) {
            known.insert(language.code);
        }
        std::string problems;
        for (const auto& file : texts.files) {
            const std::string language(file.language);
            const auto catalogue = PoCatalogue::parse(file.text);
            if (!known.contains(language)) {
                problems += "\n  " + language + ": not a language of the interface";
            }
            for (const auto& [key, entry] : catalogue.entries()) {
                if (!texts.keys.contains(key)) {
                    problems += "\n  " + language + ": no longer looked up: \"" + key + "\"";
                }
                for (const std::string& form : entry.forms) {
                    if (placeholders(form) != placeholders(key)) {
                        problems +=
                            "\n  " + language + ": placeholders differ: \"" + key + "\" -> \"" + form + "\"";
                    }
                }
                if (entry.isPlural && (!catalogue.statesPluralForms() ||
                                       entry.forms.size() != catalogue.pluralFormula().formCount())) {
                    problems += "\n  " + language +
                                ": plural forms do not match the Plural-Forms header: \"" + key + "\"";
                }
            }
        }
        QVERIFY2(problems.empty(), problems.c_str());
    }
};

namespace {
const bool registered = registerTestClass<CataloguesTest>();
}

} // namespace morvane::app::testing

#include "CataloguesTest.moc"
