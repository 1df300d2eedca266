#pragma once

#include <string>

namespace morvane::app {

// `path` with the home folder written "~", as people read paths; unchanged
// outside the home folder. The root is no home folder to abbreviate, even
// for an account that has it as one.
std::string abbreviatingHome(const std::string& path, const std::string& home);

} // namespace morvane::app
