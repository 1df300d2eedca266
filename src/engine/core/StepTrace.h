#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace morvane {

// One item's name after one step of the pipeline.
struct StepTrace {
    std::size_t stepIndex = 0;
    std::string output; // the full name after this step
    bool isEnabled = true;
    std::optional<std::string> error; // the rule's message when it failed for this item

    bool operator==(const StepTrace&) const = default;
};

} // namespace morvane
