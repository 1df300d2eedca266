#pragma once

#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/SlowTaskNotice.h"
#include "engine/transactions/BatchControl.h"

#include <string>

namespace morvane::cli {

// What a batch shows and hears on the command line while it runs: its
// progress on a terminal, and Ctrl+C as a request to stop it.
class BatchFeedback {
public:
    BatchFeedback(const CommandContext& context, std::string what);

    // For the batch runner; valid while this lives.
    const BatchControl& control() const { return control_; }

private:
    Interruption interruption_;
    SlowTaskNotice notice_;
    BatchControl control_;
};

} // namespace morvane::cli
