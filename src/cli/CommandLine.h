#pragma once

#include "cli/CliOptions.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// Reads the arguments (without the program name). Returns the options, or
// nothing when the request was for help or the version, which has then been
// written to `out`. Throws UsageError for anything it cannot accept.
std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::ostream& out);

// The part of a "FIND=WITH" text before and after the first "=" that no
// backslash escapes; nothing when there is none.
std::optional<std::pair<std::string, std::string>> splitAtEquals(const std::string& text);

} // namespace morvane::cli
