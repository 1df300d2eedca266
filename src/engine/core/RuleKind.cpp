#include "engine/core/RuleKind.h"

#include "engine/support/Localization.h"

namespace morvane {
namespace {

struct KindInfo {
    RuleKind kind;
    std::string_view raw;
    std::string_view title;
};

constexpr std::array<KindInfo, 11> kKinds{{
    {RuleKind::name, "name", "Name"},
    {RuleKind::segment, "segment", "Name Segment"},
    {RuleKind::replace, "replace", "Replace"},
    {RuleKind::regex, "regex", "Regular Expression"},
    {RuleKind::remove, "remove", "Remove"},
    {RuleKind::add, "add", "Add"},
    {RuleKind::counter, "counter", "Counter"},
    {RuleKind::date, "date", "Date"},
    {RuleKind::folder, "folder", "Folder Name"},
    {RuleKind::template_, "template", "Template"},
    {RuleKind::letterCase, "case", "Case"},
}};

const KindInfo& info(RuleKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

} // namespace

std::string_view rawValue(RuleKind kind) {
    return info(kind).raw;
}

std::optional<RuleKind> ruleKindFromRawValue(std::string_view raw) {
    for (const auto& entry : kKinds) {
        if (entry.raw == raw) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

std::string title(RuleKind kind) {
    return localized(info(kind).title);
}

} // namespace morvane
