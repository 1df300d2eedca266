#include "app/model/LaunchOptions.h"

#include "app/model/QtStrings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <mutex>

namespace morvane::app {
namespace {

struct Offer {
    std::mutex lock;
    std::optional<std::vector<std::string>> arguments;
    bool taken = false;
};

Offer& offered() {
    static Offer offer;
    return offer;
}

std::vector<std::string> applicationArguments() {
    std::vector<std::string> result;
    if (QCoreApplication::instance() != nullptr) {
        const QStringList arguments = QCoreApplication::arguments();
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            result.push_back(fromQString(arguments[i]));
        }
    }
    return result;
}

} // namespace

LaunchOptions LaunchOptions::parse(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    // "--open PATH" and "--language=CODE" alike; a single dash is no long option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const auto valued = [](const char* name) {
        return QCommandLineOption(QString(name), QString(), "value");
    };
    const auto flag = [](const char* name) { return QCommandLineOption(QString(name)); };
    const QCommandLineOption open = valued("open"), appearance = valued("appearance"),
                             language = valued("language"), settings = flag("settings"), list = flag("list"),
                             welcome = flag("welcome"), presets = flag("presets"), sheet = flag("sheet"),
                             demo = flag("demo");
    parser.addOptions({open, appearance, language, settings, list, welcome, presets, sheet, demo});
    QStringList given{QStringLiteral("morvane")};
    for (const std::string& argument : arguments) {
        given << toQString(argument);
    }
    // Options of the toolkit's own, or of another version, are left alone:
    // what the parser reads of the rest holds all the same.
    (void)parser.parse(given);

    LaunchOptions options;
    options.mentionsOpen = parser.isSet(open);
    if (const QString path = parser.value(open); !path.isEmpty()) {
        options.open = fromQString(path);
    }
    if (parser.isSet(appearance)) {
        options.appearance = appearanceChoiceFromRawValue(fromQString(parser.value(appearance)));
    }
    if (parser.isSet(language)) {
        options.language = fromQString(parser.value(language));
    }
    options.settings = parser.isSet(settings);
    options.list = parser.isSet(list);
    options.welcome = parser.isSet(welcome);
    options.presets = parser.isSet(presets);
    options.sheet = parser.isSet(sheet);
    options.demo = parser.isSet(demo);
    for (const QString& path : parser.positionalArguments()) {
        if (!path.isEmpty()) {
            options.paths.push_back(fromQString(path));
        }
    }
    return options;
}

void LaunchOptions::offer(std::vector<std::string> arguments) {
    std::lock_guard guard(offered().lock);
    offered().arguments = std::move(arguments);
    offered().taken = false;
}

std::optional<std::vector<std::string>> LaunchOptions::takeForFirstModel() {
    std::lock_guard guard(offered().lock);
    if (offered().taken) {
        return std::nullopt;
    }
    offered().taken = true;
    return offered().arguments ? std::move(*offered().arguments) : applicationArguments();
}

} // namespace morvane::app
