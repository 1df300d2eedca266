#include "cli/CliRun.h"

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PresetLookup.h"
#include "engine/support/Localization.h"
#include "engine/support/PreferredLanguages.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace morvane::cli {
namespace {

// The first language the user prefers that the engine has a table for
// ("es_ES.UTF-8" -> "es", "ca_ES.UTF-8@valencia" -> "ca-ES-valencia").
void chooseLanguage(const CliEnvironment& environment) {
    if (const auto code =
            PreferredLanguages::match(environment.languages, Localization::availableLanguages())) {
        Localization::setLanguage(*code);
    }
}

} // namespace

int listPresets(const CommandContext& context) {
    const auto offered =
        PresetLookup(presetsDirectory(context.options), context.environment.workingDirectory).offered();
    if (context.options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& offer : offered) {
            nlohmann::json preset = nlohmann::json::parse(offer.preset.data());
            preset["factory"] = offer.isFactory;
            list.push_back(std::move(preset));
        }
        context.out << list.dump(2) << "\n";
        return ExitStatusSuccess;
    }
    for (const auto& offer : offered) {
        context.out << (offer.preset.favorite ? "\u2605 " : "  ") << printable(offer.preset.name) << "  "
                    << context.palette.paint(
                           localizedCount("%lld rule", "%lld rules",
                                          static_cast<long long>(offer.preset.rules.size())) +
                               " \u00B7 " + (offer.isFactory ? localized("built in") : localized("yours")),
                           Palette::dim)
                    << "\n";
    }
    return ExitStatusSuccess;
}

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    chooseLanguage(environment);
    try {
        const auto options = parseCommandLine(arguments, out, environment.workingDirectory);
        if (!options) {
            return ExitStatusSuccess;
        }
        const CommandContext context{*options, environment, out, err,
                                     Palette(environment.outputIsTerminal && !environment.noColor)};
        switch (options->command) {
        case Command::preview:
        case Command::rename:
            return previewOrRename(context);
        case Command::undo:
            return undoLatest(context);
        case Command::history:
            return listHistory(context);
        case Command::recover:
            return recoverBatches(context);
        case Command::presets:
            return listPresets(context);
        }
    } catch (const UsageError& error) {
        // Messages often quote a name, which may hold a line break or an escape sequence.
        err << "morvane-cli: " << printable(error.message) << "\n";
    }
    return ExitStatusUsage;
}

} // namespace morvane::cli
