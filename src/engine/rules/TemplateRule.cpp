#include "engine/rules/TemplateRule.h"

#include "engine/rules/CounterRule.h"
#include "engine/rules/MetadataTokens.h"
#include "engine/support/DateFormatting.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace morvane {
namespace {

constexpr std::string_view kDefaultDateFormat = "yyyy-MM-dd";
constexpr std::array<std::string_view, 3> kDateKeys{"date", "modified", "created"};

bool onlyZeros(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

// The offset of the first character at or after `from` that is `wanted`.
std::size_t findCharacter(const std::vector<std::string_view>& characters, std::size_t from,
                          std::string_view wanted) {
    const auto found =
        std::find(characters.begin() + static_cast<std::ptrdiff_t>(from), characters.end(), wanted);
    return static_cast<std::size_t>(found - characters.begin());
}

} // namespace

std::string TemplateRule::summary() const {
    // The user's own text, so not looked up.
    const std::string line = template_.empty() ? localized("Not set") : template_;
    return perFolder ? localized("%@ \u00B7 each folder", line) : line;
}

std::optional<std::string> TemplateRule::expansion(std::string_view token, const FileName& name,
                                                   const RuleContext& context) const {
    const std::size_t colon = token.find(':');
    const std::string key = unicode::fold(token.substr(0, colon));
    const std::optional<std::string_view> argument =
        colon == std::string_view::npos ? std::nullopt : std::optional(token.substr(colon + 1));

    if (key == "name" || key == "ext" || key == "parent") {
        if (argument) {
            return std::nullopt;
        }
        return key == "name" ? name.stem : key == "ext" ? name.ext : context.item.parentName.str();
    }
    if (key == "counter") {
        const std::int64_t index = perFolder ? context.folderIndex : context.index;
        if ((argument && !onlyZeros(*argument)) || index == std::numeric_limits<std::int64_t>::max()) {
            return std::nullopt;
        }
        const auto width = argument ? static_cast<std::int64_t>(argument->size()) : 0;
        return CounterRule::pad(index + 1, width);
    }
    if (std::find(kDateKeys.begin(), kDateKeys.end(), key) != kDateKeys.end()) {
        if (argument && argument->empty()) {
            return std::nullopt;
        }
        const Date date = key == "created" ? context.item.created : context.item.modified;
        return DateFormatting::string(date, argument.value_or(kDefaultDateFormat), timeZoneIdentifier);
    }
    return MetadataTokens::expand(key, argument, context, timeZoneIdentifier);
}

ItemDetails TemplateRule::needsDetails() const {
    // The key after every brace up to the next closing one or colon: a
    // token that does not expand after all ("{date:}") only costs reading
    // details that are not used, and braces inside a token are looked at
    // too, since a "{" there may open one.
    const std::string folded = unicode::fold(template_);
    ItemDetails details;
    for (std::size_t open = folded.find('{'); open != std::string::npos; open = folded.find('{', open + 1)) {
        const std::size_t end = folded.find_first_of(":}", open + 1);
        if (end == std::string::npos) {
            break;
        }
        const std::string_view key = std::string_view(folded).substr(open + 1, end - open - 1);
        if (std::find(kDateKeys.begin(), kDateKeys.end(), key) != kDateKeys.end()) {
            details.fileDates = true;
        } else if (const auto read = MetadataTokens::detailsOf(key)) {
            details |= *read;
        }
    }
    return details;
}

void TemplateRule::apply(FileName& name, const RuleContext& context) const {
    // Braces are matched by whole characters: a brace carrying a combining
    // mark is another character. In ASCII without CR every byte is a character,
    // which spares splitting the template for every name.
    const std::string_view text = template_;
    const bool bytewise = unicode::isSimpleAscii(text);
    const auto characters = bytewise ? std::vector<std::string_view>{} : unicode::graphemes(text);
    const std::size_t count = bytewise ? text.size() : characters.size();
    const auto offset = [&](std::size_t index) {
        if (index >= count) {
            return text.size();
        }
        return bytewise ? index : static_cast<std::size_t>(characters[index].data() - text.data());
    };
    const auto find = [&](std::size_t from, char wanted) {
        if (!bytewise) {
            return findCharacter(characters, from, std::string_view(&wanted, 1));
        }
        const std::size_t found = text.find(wanted, from);
        return found == std::string_view::npos ? count : found;
    };
    std::string result;
    std::size_t next = 0;
    while (next < count) {
        const std::size_t open = find(next, '{');
        result.append(text.substr(offset(next), offset(open) - offset(next)));
        if (open == count) {
            break;
        }
        const std::size_t close = find(open + 1, '}');
        if (close == count) {
            result.append(text.substr(offset(open)));
            break;
        }
        const std::string_view token = text.substr(offset(open + 1), offset(close) - offset(open + 1));
        if (auto expanded = expansion(token, name, context)) {
            result.append(*expanded);
            next = close + 1;
        } else {
            // Only the brace is literal: a "{" inside the token may still open one.
            result.append("{");
            next = open + 1;
        }
    }
    name.stem = std::move(result);
}

void to_json(nlohmann::json& json, const TemplateRule& rule) {
    json = {{"template", rule.template_}};
    if (rule.timeZoneIdentifier) {
        json["timeZoneIdentifier"] = *rule.timeZoneIdentifier;
    }
    if (rule.perFolder) {
        json["perFolder"] = true;
    }
}

void from_json(const nlohmann::json& json, TemplateRule& rule) {
    using namespace json_fields;
    rule = TemplateRule(requireString(json, "template"), optionalString(json, "timeZoneIdentifier"),
                        optionalBool(json, "perFolder", false));
}

} // namespace morvane
