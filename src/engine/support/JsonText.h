#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Appends `text` as a JSON string literal, escaped exactly as nlohmann/json
// writes it (UTF-8 kept as it is, "/" not escaped), for writers that stream
// large documents instead of building them in memory first. `text` must be
// valid UTF-8.
void appendJsonString(std::string& out, std::string_view text);

} // namespace morvane
