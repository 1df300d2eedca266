#include "app/model/ResultBanner.h"

#include "app/model/Localizer.h"

#include <QtGlobal>

namespace morvane::app {
namespace {

std::string renamedText(const RenameTransaction& transaction, const HistoryRecording& recording) {
    const std::size_t applied = transaction.appliedCount();
    switch (recording.kind) {
    case HistoryRecording::Kind::recorded:
    case HistoryRecording::Kind::notNeeded:
        break;
    case HistoryRecording::Kind::disabled:
        return Localizer::counted("%lld item renamed \u00B7 Not recorded in Rename History.",
                                  "%lld items renamed \u00B7 Not recorded in Rename History.", applied);
    case HistoryRecording::Kind::failed:
        return Localizer::counted("%lld item renamed \u00B7 Not recorded in Rename History: %@",
                                  "%lld items renamed \u00B7 Not recorded in Rename History: %@", applied,
                                  applied, recording.error);
    }
    return Localizer::counted("%lld item renamed \u00B7 Recorded in Rename History.",
                              "%lld items renamed \u00B7 Recorded in Rename History.", applied);
}

} // namespace

ResultBanner ResultBanner::of(const RenameTransaction* lastTransaction, const HistoryRecording& recording,
                              const std::optional<std::string>& message, bool messageIsWarning,
                              const std::optional<std::string>& folder) {
    ResultBanner banner;
    if (!lastTransaction && !message) {
        return banner;
    }
    banner.isShown = true;
    // A batch that could not all be put back has both a rename to undo and a
    // warning; the warning comes first, so that it is never hidden behind a
    // count of renamed items.
    if (message) {
        banner.text = *message;
        banner.isWarning = messageIsWarning;
        banner.dismissButton = Localizer::text("Dismiss");
    } else {
        banner.text = renamedText(*lastTransaction, recording);
        banner.isWarning = recording.kind == HistoryRecording::Kind::failed;
    }
    if (lastTransaction) {
        banner.undoButton = Localizer::text("Undo Rename");
        if (folder) {
#ifdef Q_OS_MACOS
            banner.revealButton = Localizer::text("Show in Finder");
#else
            banner.revealButton = Localizer::text("Show in File Manager");
#endif
            banner.revealFolder = folder;
        }
    }
    return banner;
}

} // namespace morvane::app
