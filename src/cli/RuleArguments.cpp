#include "cli/RuleArguments.h"

#include "cli/CommandLine.h"
#include "engine/presets/PresetRule.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/RegexRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/support/Localization.h"
#include "engine/support/Unicode.h"

#include <nlohmann/json.hpp>

namespace morvane::cli {
namespace {

// "\=" stands for "=", which would otherwise split the argument; every other
// backslash pair is kept as it is (in a pattern, it is the pattern's own escape).
std::string unescapeEquals(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] != '=') {
                result += text[i];
            }
            result += text[++i];
            continue;
        }
        result += text[i];
    }
    return result;
}

std::pair<std::string, std::string> pairOf(const std::string& value, const char* option, const char* shape) {
    // Bytes that are not UTF-8 would silently become U+FFFD and match something else.
    if (!unicode::isValidUtf8(value)) {
        throw UsageError{std::string(option) + " \u201C" + value + "\u201D is not valid UTF-8 text"};
    }
    const auto parts = splitAtEquals(value);
    if (!parts) {
        throw UsageError{std::string(option) + " needs " + shape + ", got \u201C" + value + "\u201D"};
    }
    return *parts;
}

PipelineStep replaceStep(const RuleArgument& argument) {
    const auto [find, with] = pairOf(argument.value, "--replace", "FIND=WITH");
    if (find.empty()) {
        throw UsageError{"--replace needs a text to find before the \u201C=\u201D"};
    }
    return makeStep(ReplaceRule(unescapeEquals(find), unescapeEquals(with), argument.caseSensitive));
}

PipelineStep regexStep(const RuleArgument& argument) {
    const auto [written, replacement] = pairOf(argument.value, "--regex", "PATTERN=REPLACEMENT");
    const std::string pattern = unescapeEquals(written);
    if (const auto problem = RegexRule::diagnose(pattern, false)) {
        throw UsageError{"--regex \u201C" + pattern + "\u201D: " + *problem};
    }
    return makeStep(RegexRule(pattern, replacement, false));
}

PipelineStep caseStep(const RuleArgument& argument) {
    const auto comma = argument.value.find(',');
    const std::string stem = argument.value.substr(0, comma);
    const std::string ext = comma == std::string::npos ? "same" : argument.value.substr(comma + 1);
    const auto mode = caseModeFromRawValue(stem);
    const auto extensionMode = caseExtensionModeFromRawValue(ext);
    if (!mode || !extensionMode) {
        throw UsageError{
            "--case needs STEM[,EXT] with STEM one of same, lower, upper, title, sentence and EXT one "
            "of same, lower, upper; got \u201C" +
            argument.value + "\u201D"};
    }
    return makeStep(CaseRule(*mode, *extensionMode));
}

PipelineStep jsonStep(const RuleArgument& argument) {
    try {
        const PresetRule rule = nlohmann::json::parse(argument.value).get<PresetRule>();
        if (auto step = rule.makeStep()) {
            return std::move(*step);
        }
        throw UsageError{"--rule: unknown rule kind \u201C" + rule.kind + "\u201D"};
    } catch (const UsageError&) {
        throw;
    } catch (const std::exception& error) {
        throw UsageError{"--rule " + argument.value + ": " + error.what()};
    }
}

void appendPreset(const RuleArgument& argument, const PresetLookup& presets, BuiltRules& built) {
    const Preset preset = presets.find(argument.value);
    Preset::Built fromPreset;
    try {
        fromPreset = preset.makePipeline();
    } catch (const std::exception& error) {
        throw UsageError{localized("\u201C%@\u201D could not be read.", preset.name) + " " + error.what()};
    }
    for (auto& step : fromPreset.pipeline.steps) {
        built.pipeline.steps.push_back(std::move(step));
    }
    if (!fromPreset.skipped.empty()) {
        std::string positions;
        for (const std::size_t position : fromPreset.skipped) {
            positions += (positions.empty() ? "" : ", ") + std::to_string(position + 1);
        }
        const auto count = static_cast<long long>(fromPreset.skipped.size());
        built.warnings.push_back(
            localizedCount("%lld rule in \u201C%@\u201D needs a newer version and was skipped.",
                           "%lld rules in \u201C%@\u201D need a newer version and were skipped.", count,
                           count, preset.name) +
            " (" + positions + ")");
    }
}

} // namespace

BuiltRules buildRules(const std::vector<RuleArgument>& rules, const PresetLookup& presets) {
    BuiltRules built;
    for (const RuleArgument& argument : rules) {
        switch (argument.type) {
        case RuleArgument::Type::preset:
            appendPreset(argument, presets, built);
            break;
        case RuleArgument::Type::rule:
            built.pipeline.steps.push_back(jsonStep(argument));
            break;
        case RuleArgument::Type::replace:
            built.pipeline.steps.push_back(replaceStep(argument));
            break;
        case RuleArgument::Type::regex:
            built.pipeline.steps.push_back(regexStep(argument));
            break;
        case RuleArgument::Type::letterCase:
            built.pipeline.steps.push_back(caseStep(argument));
            break;
        }
    }
    return built;
}

} // namespace morvane::cli
