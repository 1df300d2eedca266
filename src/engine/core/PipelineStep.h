#pragma once

#include "engine/core/RenameRule.h"

#include <memory>

namespace morvane {

// One rule of the pipeline with its on/off switch. Rules are immutable, so
// steps share them freely, also with the thread that computes plans.
struct PipelineStep {
    std::shared_ptr<const RenameRule> rule;
    bool isEnabled = true;
};

template <typename Rule>
PipelineStep makeStep(Rule rule, bool isEnabled = true) {
    return PipelineStep{std::make_shared<const Rule>(std::move(rule)), isEnabled};
}

} // namespace morvane
