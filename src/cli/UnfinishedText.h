#pragma once

#include "cli/TerminalText.h"
#include "engine/transactions/UnfinishedBatch.h"

#include <nlohmann/json_fwd.hpp>

#include <iosfwd>
#include <vector>

namespace morvane::cli {

// The unfinished batches as `history` lists them before the recorded ones:
// one line each, and what to do about them.
void printUnfinished(std::ostream& out, const std::vector<UnfinishedBatch>& batches, const Palette& palette);

// One unfinished batch as JSON: {"unfinished": true, "file", "kind", "id",
// "date", "directory", "items", "hasEnded", "isInUse"}, or for a record that
// cannot be read only "file" and "problem".
nlohmann::json unfinishedJson(const UnfinishedBatch& batch);

} // namespace morvane::cli
