#include "cli/PlanOutput.h"

#include "engine/core/NameDiff.h"
#include "engine/core/PlanSummary.h"
#include "engine/support/JsonText.h"
#include "engine/support/Localization.h"

#include <algorithm>
#include <ostream>

namespace morvane::cli {
namespace {

struct StatusText {
    std::string label;
    const char* colour;
    std::string help;
};

StatusText statusText(const RenamePlan::Entry& entry, const std::unordered_set<std::string>& unchecked,
                      bool hasNotes) {
    using Kind = RenameStatus::Kind;
    switch (entry.status.kind) {
    case Kind::rename:
        return {localized("Rename"), Palette::green, {}};
    case Kind::caseOnlyRename:
        return {localized("Rename"), Palette::green,
                localized("Case-only rename, done via a temporary name")};
    case Kind::unchanged:
        return {localized("Unchanged"), Palette::dim, {}};
    case Kind::duplicate:
        return {localized("Conflict"), Palette::red, localized("Another item would get the same name")};
    case Kind::excluded:
        // Items left out for what their files lack carry the reason in their notes.
        if (unchecked.contains(entry.item.id) || hasNotes) {
            return {localized("Excluded"), Palette::dim, {}};
        }
        return {localized("Filtered"), Palette::dim, {}};
    case Kind::invalid:
        return {localized("Invalid"), Palette::red, entry.status.problem->message()};
    case Kind::nameTaken:
        return {localized("Conflict"), Palette::red,
                localized("\u201C%@\u201D already exists", entry.status.takenBy.value_or(entry.newName))};
    }
    return {};
}

std::string shownName(const RenamePlan::Entry& entry, const std::optional<std::string>& folder) {
    if (folder && entry.item.directory != *folder && entry.item.directory.starts_with(*folder + "/")) {
        return entry.item.directory.substr(folder->size() + 1) + "/" + entry.item.name;
    }
    return entry.item.name;
}

std::string padded(const std::string& shown, std::size_t width) {
    const std::size_t used = displayWidth(shown);
    return used >= width ? std::string() : std::string(width - used, ' ');
}

bool isShown(const RenamePlan::Entry& entry, bool onlyChanged) {
    const auto kind = entry.status.kind;
    return !onlyChanged || (kind != RenameStatus::Kind::unchanged && kind != RenameStatus::Kind::excluded);
}

} // namespace

std::string summaryLine(const RenamePlan& plan) {
    const PlanSummary summary = PlanSummary::of(plan);
    const std::string separator = " \u00B7 ";
    const auto count = [](std::size_t value) { return static_cast<long long>(value); };
    return localizedCount("%lld item", "%lld items", count(summary.items)) + separator +
           localizedCount("%lld included", "%lld included", count(summary.included)) + separator +
           localizedCount("%lld to rename", "%lld to rename", count(summary.toRename)) + separator +
           (summary.conflicts == 0
                ? localized("No conflicts")
                : localizedCount("%lld conflict", "%lld conflicts", count(summary.conflicts)));
}

void printPlan(std::ostream& out, const PlanView& view, const Palette& palette) {
    std::vector<const RenamePlan::Entry*> rows;
    std::size_t statusWidth = displayWidth(localized("Status"));
    std::size_t nameWidth = displayWidth(localized("Current Name"));
    const auto hasNotes = [&](const RenamePlan::Entry& entry) {
        return !view.plan.notesFor(static_cast<std::size_t>(&entry - view.plan.entries.data())).empty();
    };
    for (const auto& entry : view.plan.entries) {
        if (isShown(entry, view.onlyChanged)) {
            rows.push_back(&entry);
            statusWidth =
                std::max(statusWidth, displayWidth(statusText(entry, view.unchecked, hasNotes(entry)).label));
            nameWidth = std::max(nameWidth, displayWidth(printable(shownName(entry, view.folder))));
        }
    }
    nameWidth = std::min<std::size_t>(nameWidth, 60);

    if (!rows.empty()) {
        const std::string status = localized("Status"), current = localized("Current Name");
        out << palette.paint(status, Palette::bold) << padded(status, statusWidth) << "  "
            << palette.paint(current, Palette::bold) << padded(current, nameWidth) << "  "
            << palette.paint(localized("New Name"), Palette::bold) << "\n";
    }
    for (const RenamePlan::Entry* entry : rows) {
        const StatusText status = statusText(*entry, view.unchecked, hasNotes(*entry));
        const std::string current = shownName(*entry, view.folder);
        const std::string prefix = current.substr(0, current.size() - entry->item.name.size());
        const NameDiff diff(entry->item.name, entry->newName);
        out << palette.paint(status.label, status.colour) << padded(status.label, statusWidth) << "  "
            << printable(prefix) << palette.spans(diff.oldSide(), true)
            << padded(printable(current), nameWidth) << "  " << palette.spans(diff.newSide(), false);
        if (!status.help.empty()) {
            out << "  " << palette.paint("\u2014 " + printable(status.help), Palette::dim);
        }
        for (const ItemNote& note :
             view.plan.notesFor(static_cast<std::size_t>(entry - view.plan.entries.data()))) {
            const bool isError = note.level == ItemNote::Level::error;
            out << "  "
                << palette.paint("\u2014 " + printable(note.message),
                                 isError ? Palette::red : Palette::yellow);
        }
        out << "\n";
    }
    if (!rows.empty()) {
        out << "\n";
    }
    out << summaryLine(view.plan) << "\n";
    for (const auto& [step, message] : view.plan.ruleErrors) {
        const auto& rule = *view.pipeline.steps.at(step).rule;
        out << palette.paint(
                   printable(localized("Rule %lld (%@): %@", step + 1, title(rule.kind()), message)),
                   Palette::red)
            << "\n";
    }
}

void writePlanJson(std::ostream& out, const RenamePlan& plan) {
    const PlanSummary summary = PlanSummary::of(plan);
    std::string text;
    text.reserve(1 << 20);
    auto number = [&](const char* key, std::size_t value) {
        text.append("  \"").append(key).append("\": ").append(std::to_string(value)).append(",\n");
    };
    text += "{\n";
    number("items", summary.items);
    number("included", summary.included);
    number("toRename", summary.toRename);
    number("conflicts", summary.conflicts);
    text += "  \"changedCounts\": [";
    for (std::size_t i = 0; i < plan.changedCounts.size(); ++i) {
        text.append(i == 0 ? "" : ", ").append(std::to_string(plan.changedCounts[i]));
    }
    text += "],\n  \"ruleErrors\": {";
    bool first = true;
    for (const auto& [step, message] : plan.ruleErrors) {
        text.append(first ? "" : ", ").append("\"").append(std::to_string(step)).append("\": ");
        appendJsonString(text, message);
        first = false;
    }
    text += "},\n  \"entries\": [";
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const auto& entry = plan.entries[i];
        text.append(i == 0 ? "\n    {\"id\": " : ",\n    {\"id\": ");
        appendJsonString(text, entry.item.id);
        text += ", \"directory\": ";
        appendJsonString(text, entry.item.directory);
        text += ", \"name\": ";
        appendJsonString(text, entry.item.name);
        text += ", \"newName\": ";
        appendJsonString(text, entry.newName);
        text.append(", \"status\": \"").append(rawValue(entry.status.kind)).append("\"");
        if (entry.status.problem) {
            text.append(", \"reason\": \"").append(rawValue(entry.status.problem->kind)).append("\"");
        }
        if (entry.status.takenBy) {
            text += ", \"takenBy\": ";
            appendJsonString(text, *entry.status.takenBy);
        }
        const auto notes = plan.notesFor(i);
        if (!notes.empty()) {
            text += ", \"notes\": [";
            for (std::size_t n = 0; n < notes.size(); ++n) {
                text.append(n == 0 ? "{\"level\": \"" : ", {\"level\": \"")
                    .append(notes[n].level == ItemNote::Level::error ? "error" : "warning")
                    .append("\", \"step\": ")
                    .append(std::to_string(notes[n].step))
                    .append(", \"message\": ");
                appendJsonString(text, notes[n].message);
                text += "}";
            }
            text += "]";
        }
        text += "}";
        if (text.size() > (1 << 20) - 4096) {
            out << text;
            text.clear();
        }
    }
    text += plan.entries.empty() ? "]\n}\n" : "\n  ]\n}\n";
    out << text;
}

} // namespace morvane::cli
