#include "app/model/Row.h"

#include "app/model/Localizer.h"
#include "engine/core/FileName.h"
#include "engine/support/Unicode.h"

namespace morvane::app {

namespace {

RowStatus statusOf(const RenamePlan::Entry& entry, bool isUnchecked) {
    using Kind = RenameStatus::Kind;
    // A conflict or an invalid name still says so: the edit is checked like any new name.
    if (entry.isEdited && entry.status.willRename()) {
        return {Localizer::text("Edited"), "pencil", Localizer::text("This new name was written by hand")};
    }
    switch (entry.status.kind) {
    case Kind::rename:
        return {Localizer::text("Rename"), "checkmark", std::nullopt};
    case Kind::caseOnlyRename:
        return {Localizer::text("Rename"), "checkmark",
                Localizer::text("Case-only rename, done via a temporary name")};
    case Kind::unchanged:
        return {Localizer::text("Unchanged"), "minus", std::nullopt};
    case Kind::duplicate:
        return {Localizer::text("Conflict"), "exclamationmark.triangle.fill",
                Localizer::text("Another item would get the same name")};
    case Kind::nameTaken:
        return {
            Localizer::text("Conflict"), "exclamationmark.triangle.fill",
            Localizer::format("\u201C%@\u201D already exists", entry.status.takenBy.value_or(entry.newName))};
    case Kind::excluded:
        if (isUnchecked) {
            return {Localizer::text("Excluded"), "circle.dashed",
                    Localizer::text("Unchecked items are skipped")};
        }
        return {Localizer::text("Filtered"), "line.3.horizontal.decrease",
                Localizer::text("Hidden by the current filter")};
    case Kind::invalid:
        break;
    }
    // The reason is the engine's own text.
    return {Localizer::text("Invalid"), "xmark.octagon.fill",
            entry.status.problem ? std::optional(entry.status.problem->message()) : std::nullopt};
}

} // namespace

RowStatus rowStatus(const RenamePlan::Entry& entry, bool isUnchecked, std::span<const ItemNote> notes) {
    RowStatus status = statusOf(entry, isUnchecked);
    if (notes.empty()) {
        return status;
    }
    // The status still says what happens to the item; the mark and the
    // help say that a rule had something to say about it (the engine's texts).
    std::string help;
    for (const ItemNote& note : notes) {
        help += (help.empty() ? "" : "\n") + note.message;
    }
    if (status.help) {
        help += "\n" + *status.help;
    }
    if (status.symbol != "exclamationmark.triangle.fill" && status.symbol != "xmark.octagon.fill") {
        status.symbol = "exclamationmark.circle";
    }
    status.help = std::move(help);
    return status;
}

std::string Row::kind() const {
    if (entry_->item.isDirectory) {
        return Localizer::text("Folder");
    }
    return unicode::toUpper(FileName::parsing(entry_->item.name).ext);
}

} // namespace morvane::app
