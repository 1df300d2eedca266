#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The languages a user asked for, and the one of ours that serves them best.
// Every front end resolves its language this way, so the window and the
// command line agree on a desktop with the same settings.
namespace PreferredLanguages {

// Reads an environment variable; none when it is unset or empty.
using Variable = std::function<std::optional<std::string>(const char* name)>;

// The languages the POSIX environment asks for, most preferred first, as
// gettext reads them: the colon-separated list in LANGUAGE, then the first
// of LC_ALL, LC_MESSAGES and LANG that is set. A locale of "C" or "POSIX",
// or none at all, asks for no language, and then LANGUAGE is not read either. Identifiers
// come as written ("ca_ES.UTF-8@valencia", "de").
std::vector<std::string> fromEnvironment(const Variable& variable);
// The same over the process's own environment.
std::vector<std::string> fromEnvironment();

// The first preferred identifier (BCP 47 as "fr-CA", or POSIX as
// "ca_ES.UTF-8@valencia") that names one of `available` exactly or by its
// language part; Catalan with the Valencian modifier or subtag names
// "ca-ES-valencia". None when no identifier does.
std::optional<std::string> match(const std::vector<std::string>& preferred,
                                 const std::vector<std::string>& available);

} // namespace PreferredLanguages
} // namespace morvane
