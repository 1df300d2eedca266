#include "app/model/ConfirmationSheet.h"

#include "app/model/Localizer.h"

namespace morvane::app {

ConfirmationSheet ConfirmationSheet::of(const PlanSummary& summary, std::string subtitle,
                                        std::vector<std::string> bypassedRules, std::string_view undoShortcut,
                                        bool busy) {
    ConfirmationSheet sheet;
    const bool conflicts = summary.conflicts > 0;
    sheet.title = conflicts ? Localizer::text("Resolve conflicts before renaming")
                            : Localizer::counted("Rename %lld item?", "Rename %lld items?", summary.toRename);
    sheet.subtitle = std::move(subtitle);
    sheet.countsLine =
        Localizer::counted("%lld will be renamed \u00B7 ", "%lld will be renamed \u00B7 ", summary.toRename) +
        Localizer::counted("%lld stays the same \u00B7 ", "%lld stay the same \u00B7 ", summary.unchanged) +
        Localizer::counted("%lld filtered or excluded", "%lld filtered or excluded",
                           summary.items - summary.included);
    sheet.bypassedRules = std::move(bypassedRules);
    sheet.footer = conflicts
                       ? Localizer::text("Rename is unavailable until every conflict is resolved. Edit "
                                         "the rules, add a Counter, or skip the conflicting items.")
                       : Localizer::format("Nothing changes on disk until you click Rename. Undo with %@.",
                                           undoShortcut);
    sheet.lineCount = summary.conflicts + summary.toRename;
    sheet.cancelButton = Localizer::text("Cancel");
    sheet.skipButton = Localizer::text("Skip Conflicting Items");
    sheet.renameButton = Localizer::text("Rename");
    sheet.canCancel = !busy;
    sheet.canSkip = !busy && conflicts;
    sheet.canRename = !busy && !conflicts && summary.toRename > 0;
    return sheet;
}

} // namespace morvane::app
