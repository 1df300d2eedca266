#pragma once

#include "cli/CliOptions.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace morvane::cli {

// The whole command line: `arguments` without the program name. Everything it
// prints goes to `out` and `err`, so tests run it in-process.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

} // namespace morvane::cli
