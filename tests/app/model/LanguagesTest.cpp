// Switching the interface language through the settings reaches every kind of
// text: the engine's rule summaries and validation texts, and the window's own.
#include "ModelTesting.h"
#include "app/model/Localizer.h"
#include "engine/core/NameValidation.h"
#include "engine/rules/RemoveRule.h"
#include "engine/support/Localization.h"

namespace morvane::app::testing {

class LanguagesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        Localizer::setLanguage(AppLanguage::english());
        Localization::setLanguage("en");
    }

    void everyLanguageReachesEveryText_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("validation");
        QTest::addColumn<QString>("message");
        // Five needs Polish's third form; Valencian overrides the verb and
        // takes the rest from Catalan, the window's texts included.
        const struct {
            const char* code;
            const char* summary;
            const char* validation;
            const char* message;
        } rows[] = {
            {"en", "Remove first 5, trim spaces", "Names cannot start with a dot", "No conflicts"},
            {"es", "Eliminar 5 primeros caracteres, espacios sobrantes",
             "Los nombres no pueden empezar por un punto", "Sin conflictos"},
            {"fr", "Supprimer 5 premiers caract\u00E8res, espaces superflus",
             "Les noms ne peuvent pas commencer par un point", "Aucun conflit"},
            {"de", "5 Zeichen am Anfang, \u00FCberz\u00E4hlige Leerzeichen entfernen",
             "Namen d\u00FCrfen nicht mit einem Punkt beginnen", "Keine Konflikte"},
            {"it", "Rimuovi 5 caratteri iniziali, spazi superflui",
             "I nomi non possono iniziare con un punto", "Nessun conflitto"},
            {"nl", "eerste 5 tekens, overtollige spaties verwijderen",
             "Namen mogen niet met een punt beginnen", "Geen conflicten"},
            {"pl", "Usu\u0144 pierwszych 5 znak\u00F3w, zb\u0119dne spacje",
             "Nazwy nie mog\u0105 zaczyna\u0107 si\u0119 od kropki", "Brak konflikt\u00F3w"},
            {"pt", "Remover 5 primeiros caracteres, espa\u00E7os extras",
             "Os nomes n\u00E3o podem come\u00E7ar com um ponto", "Nenhum conflito"},
            {"ca", "Suprimeix 5 primers car\u00E0cters, espais sobrants",
             "Els noms no poden comen\u00E7ar amb un punt", "Sense conflictes"},
            {"ca-ES-valencia", "Suprimix 5 primers car\u00E0cters, espais sobrants",
             "Els noms no poden comen\u00E7ar amb un punt", "Sense conflictes"},
            {"gl", "Eliminar 5 primeiros caracteres, espazos sobrantes",
             "Os nomes non poden comezar por un punto", "Sen conflitos"},
            {"eu", "Kendu lehen 5 karaktereak, soberako zuriuneak", "Izenak ezin dira puntu batekin hasi",
             "Gatazkarik ez"},
        };
        QCOMPARE(std::size(rows), AppLanguage::all().size());
        for (const auto& row : rows) {
            QTest::newRow(row.code) << row.code << QString::fromUtf8(row.summary)
                                    << QString::fromUtf8(row.validation) << QString::fromUtf8(row.message);
        }
    }
    void everyLanguageReachesEveryText() {
        QFETCH(QString, code);
        QFETCH(QString, summary);
        QFETCH(QString, validation);
        QFETCH(QString, message);
        ModelFixture fixture;
        const auto model = fixture.make();
        fixture.settings->setLanguagePreference(code.toStdString());
        QCOMPARE(fixture.settings->language().code, code.toStdString());
        QCOMPARE(QString::fromStdString(RemoveRule(5, 0, "", true).summary()), summary);
        QCOMPARE(QString::fromStdString(NameValidation::validate(".hidden")->message()), validation);
        QCOMPARE(QString::fromStdString(model->preview().statusBar().conflicts), message);
    }
};

namespace {
const bool registered = registerTestClass<LanguagesTest>();
}

} // namespace morvane::app::testing

#include "LanguagesTest.moc"
