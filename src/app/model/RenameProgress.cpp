#include "app/model/RenameProgress.h"

#include "app/model/Localizer.h"

namespace morvane::app {

RenameProgress RenameProgress::of(const BatchProgress& progress, bool stopRequested) {
    RenameProgress shown;
    shown.phase = progress.phase;
    shown.done = progress.done;
    shown.total = progress.total;
    switch (progress.phase) {
    case BatchProgress::Phase::renaming:
        shown.phaseText = Localizer::text("Renaming");
        break;
    case BatchProgress::Phase::puttingBack:
        shown.phaseText = Localizer::text("Putting back");
        break;
    case BatchProgress::Phase::undoing:
        shown.phaseText = Localizer::text("Undoing");
        break;
    }
    shown.countText = Localizer::format("%lld of %lld", progress.done, progress.total);
    shown.stopButton = Localizer::text("Stop");
    shown.canStop = progress.phase != BatchProgress::Phase::puttingBack && !stopRequested;
    return shown;
}

} // namespace morvane::app
