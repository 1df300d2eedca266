#pragma once

#include "cli/TerminalText.h"
#include "engine/core/RenamePipeline.h"
#include "engine/core/RenamePlan.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <unordered_set>

namespace morvane::cli {

struct PlanView {
    const RenamePlan& plan;
    const RenamePipeline& pipeline;
    const std::unordered_set<std::string>& unchecked; // excluded by the user, not by the filter
    std::optional<std::string> folder;                // names below it are shown relative to it
    bool onlyChanged = false;
};

// The preview as a table: status, current name, new name (changes coloured
// when the palette is on), the summary line and the rules' errors.
void printPlan(std::ostream& out, const PlanView& view, const Palette& palette);

// "12 items · 12 included · 10 to rename · No conflicts".
std::string summaryLine(const RenamePlan& plan);

// The preview as one JSON object, written as it goes: a preview of a large
// folder is never held in memory twice.
void writePlanJson(std::ostream& out, const RenamePlan& plan);

} // namespace morvane::cli
