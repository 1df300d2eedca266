#include "cli/BatchFeedback.h"

namespace morvane::cli {

// On a terminal the progress line says what a further Ctrl+C does; elsewhere
// the interruption says it in a line of its own.
BatchFeedback::BatchFeedback(const CommandContext& context, std::string what)
    : interruption_(context.environment.catchesInterrupts, context.err,
                    !context.environment.errorsAreTerminal),
      notice_(context.err, context.environment.errorsAreTerminal, std::move(what), &interruption_) {
    control_.stop = interruption_.token();
    control_.progress = [this](const BatchProgress& progress) { notice_.report(progress); };
}

} // namespace morvane::cli
