#pragma once

#include "cli/CliOptions.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// Reads the arguments (without the program name). Returns the options, or
// nothing when the request was for help or the version, which has then been
// written to `out`. Throws UsageError for anything it cannot accept. A first
// argument that is no command is a path to preview, unless nothing of that
// name exists in `workingDirectory` and it looks like a mistyped command.
std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                           const std::string& workingDirectory = "");

// The command `word` was probably meant to be: one within two typing
// slips, or that begins with it, when no file or folder has that name.
std::optional<std::string> mistypedCommand(const std::string& word, const std::string& workingDirectory);

// The part of a "FIND=WITH" text before and after the first "=" that no
// backslash escapes; nothing when there is none.
std::optional<std::pair<std::string, std::string>> splitAtEquals(const std::string& text);

} // namespace morvane::cli
