#include "app/model/LaunchOptions.h"

#include "app/model/QtStrings.h"

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
    LaunchOptions options;
    bool onlyPaths = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyPaths || (!argument.empty() && argument.front() != '-')) {
            options.paths.push_back(argument);
        } else if (argument == "--") {
            onlyPaths = true;
        } else if (argument == "--open") {
            options.mentionsOpen = true;
            if (i + 1 < arguments.size()) {
                options.open = arguments[++i];
            }
        } else if (argument.starts_with("--appearance=")) {
            options.appearance = appearanceChoiceFromRawValue(argument.substr(13));
        } else if (argument.starts_with("--language=")) {
            options.language = argument.substr(11);
        } else if (argument == "--settings") {
            options.settings = true;
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "--welcome") {
            options.welcome = true;
        } else if (argument == "--presets") {
            options.presets = true;
        } else if (argument == "--sheet") {
            options.sheet = true;
        } else if (argument == "--demo") {
            options.demo = true;
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
