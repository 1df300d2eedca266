#include "ModelTesting.h"
#include "app/model/Localizer.h"
#include "engine/support/Localization.h"

namespace morvane::app::testing {

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        Localizer::setLanguage(AppLanguage::english());
        Localization::setLanguage("en");
    }

    void defaultsWhenNothingIsStored() {
        SettingsFixture fixture;
        const auto settings = fixture.make({"de-AT", "en"});
        QCOMPARE(settings->languagePreference(), std::string("system"));
        QCOMPARE(settings->language().code, std::string("de"));
        QCOMPARE(Localizer::language().code, std::string("de"));
        QCOMPARE(Localization::language(), std::string("de"));
        QCOMPARE(settings->appearance(), AppearanceChoice::system);
        QVERIFY(settings->highlightChanges());
        QVERIFY(settings->showRunningResult());
        QVERIFY(settings->quitAfterLastWindow());
        QVERIFY(!settings->welcomeSeen());
    }

    void storedValuesOfTheWrongTypeGiveTheDefaults() {
        SettingsFixture fixture;
        {
            auto store = fixture.store();
            store->setValue("highlightChanges", "maybe");
            store->setValue("showRunningResult", 0);
            store->setValue("quitAfterLastWindow", "false");
            store->setValue("appearance", "sepia");
            store->setValue("language", "xx");
            store->setValue("welcomeSeen", QStringList{"true"});
        }
        const auto settings = fixture.make({"es-ES"});
        QVERIFY(settings->highlightChanges());
        QVERIFY(settings->showRunningResult());
        QVERIFY(!settings->quitAfterLastWindow());
        QVERIFY(!settings->welcomeSeen());
        QCOMPARE(settings->appearance(), AppearanceChoice::system);
        // An unknown code behaves like "system".
        QCOMPARE(settings->language().code, std::string("es"));
    }

    void everyChoiceIsStoredAndReadBack() {
        SettingsFixture fixture;
        {
            const auto settings = fixture.make();
            QSignalSpy changed(settings.get(), &AppSettings::highlightChangesChanged);
            settings->setHighlightChanges(false);
            settings->setHighlightChanges(false);
            QCOMPARE(changed.count(), 1);
            settings->setShowRunningResult(false);
            settings->setWelcomeSeen(true);
            settings->setAppearance(AppearanceChoice::dark);
            settings->setLanguagePreference("it");
        }
        const auto reread = fixture.make();
        QVERIFY(!reread->highlightChanges());
        QVERIFY(!reread->showRunningResult());
        QVERIFY(reread->quitAfterLastWindow());
        QVERIFY(reread->welcomeSeen());
        QCOMPARE(reread->appearance(), AppearanceChoice::dark);
        QCOMPARE(reread->languagePreference(), std::string("it"));
        QCOMPARE(reread->language().nativeName, std::string("Italiano"));
    }

    void preferredLanguagesResolve_data() {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("code");
        QTest::newRow("region of a known language") << QStringList{"fr-CA", "en-US"} << "fr";
        QTest::newRow("unknown language") << QStringList{"ja-JP"} << "en";
        QTest::newRow("Valencian") << QStringList{"ca-ES-valencia"} << "ca-ES-valencia";
        QTest::newRow("Catalan") << QStringList{"ca-ES"} << "ca";
        QTest::newRow("POSIX Valencian") << QStringList{"ca_ES.UTF-8@valencia"} << "ca-ES-valencia";
        QTest::newRow("first known one") << QStringList{"zz", "pt_BR", "de"} << "pt";
        QTest::newRow("nothing preferred") << QStringList{} << "en";
    }

    void preferredLanguagesResolve() {
        QFETCH(QStringList, preferred);
        QFETCH(QString, code);
        std::vector<std::string> identifiers;
        for (const QString& identifier : preferred) {
            identifiers.push_back(identifier.toStdString());
        }
        QCOMPARE(AppLanguage::matching(identifiers).code, code.toStdString());
    }

    void everyAssignmentOfThePreferenceAnnouncesOnce() {
        SettingsFixture fixture;
        const auto settings = fixture.make({"fr-FR"});
        QSignalSpy announced(settings.get(), &AppSettings::languageDidChange);
        settings->setLanguagePreference("de");
        QCOMPARE(announced.count(), 1);
        QCOMPARE(fixture.store()->value("language").toString(), QString("de"));
        QCOMPARE(Localizer::language().code, std::string("de"));
        QCOMPARE(Localization::language(), std::string("de"));
        settings->setLanguagePreference("de");
        QCOMPARE(announced.count(), 2);
        settings->setLanguagePreference("system");
        QCOMPARE(announced.count(), 3);
        QCOMPARE(settings->language().code, std::string("fr"));
        QCOMPARE(fixture.store()->value("language").toString(), QString("system"));
    }

    void applicationTextsComeFromTheirCatalogues() {
        Localizer::setLanguage(*AppLanguage::named("es"));
        QCOMPARE(Localizer::text("No conflicts"), std::string("Sin conflictos"));
        QCOMPARE(Localizer::format("%lld of %lld active", 2, 3), std::string("2 de 3 activas"));
        QCOMPARE(label(AppearanceChoice::dark), std::string("Oscuro"));
        // Valencian holds what differs from Catalan and takes the rest from it.
        Localizer::setLanguage(*AppLanguage::named("ca-ES-valencia"));
        QCOMPARE(Localizer::text("Save"), std::string("Guarda"));
        QCOMPARE(Localizer::text("No conflicts"), std::string("Sense conflictes"));
        QCOMPARE(Localizer::text(" items changed by this rule"),
                 std::string(" elements canviats per esta regla"));
        QCOMPARE(Localizer::counted("%lld conflict", "%lld conflicts", 2), std::string("2 conflictes"));
    }
};

namespace {
const bool registered = registerTestClass<SettingsTest>();
}

} // namespace morvane::app::testing

#include "SettingsTest.moc"
