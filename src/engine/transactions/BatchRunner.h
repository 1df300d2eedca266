#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/RenamePipeline.h"
#include "engine/core/RenamePlan.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/BatchControl.h"
#include "engine/transactions/BatchOutcome.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/RenameExecutor.h"
#include "engine/transactions/UndoOutcome.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The one way every front end carries out a preview and takes a batch back:
// plan, leave out conflicts (until none are left), make sure the history can
// record the batch before the first move, run the executor, record the batch,
// and hand back one outcome value that the front end only puts into words.
// Undo the same way: the batch asked for, or the newest that can still be
// undone; the updated record saved. Runs synchronously on the caller's thread
// and never throws for anything the disk or the history does.
class BatchRunner {
public:
    struct Services {
        std::shared_ptr<FileSystem> fileSystem;
        std::optional<HistoryStore> history; // none: batches are not recorded
        std::function<Date()> now = &RenameExecutor::systemNow;
        std::function<std::string()> temporaryName = &RenameExecutor::randomTemporaryName;
    };

    struct Request {
        // In the order they are shown, with the user's exclusions already
        // made (`isIncluded` false); excluded items hold their names.
        std::vector<FileItem> items;
        RenamePipeline pipeline;
        // The folder the items were read from; none when they are files and
        // folders picked one by one, whose new names are then also looked
        // up among the other entries of their folders.
        std::optional<std::string> folder;
        // Leave out conflicting items, as often as that makes new
        // conflicts, instead of refusing.
        bool skipConflicting = false;
        // Refuse when a rule fails for any item, or its file lacks what a
        // rule reads, instead of bypassing the rule for that item.
        bool refuseRuleErrors = false;
        // Leave out the items whose files lack what a rule reads (a photo
        // without a capture date); their notes stay in the plan to say why.
        bool skipItemsLackingMetadata = false;
    };

    struct UndoRequest {
        // A batch the front end holds (the window's last); else one from the history.
        std::optional<RenameTransaction> transaction;
        // A recorded batch by id, or by a prefix of it that only one batch has
        // (either letter case); else the newest that can still be undone.
        std::optional<std::string> id;
        bool dryRun = false;
    };

    explicit BatchRunner(Services services);

    // The plan of `request` as it would be carried out: the pipeline's plan,
    // with names taken on disk marked for items picked one by one.
    RenamePlan plan(const Request& request) const;
    // The same with the items moved into the plan (the request keeps the rest).
    RenamePlan plan(Request&& request) const;

    BatchOutcome rename(Request request, const BatchControl& control = BatchControl{}) const;
    // Carries out a plan made earlier, exactly as it is: what a window showed
    // and the user confirmed, without planning again. Refused like `rename`
    // when it has conflicts or nothing to rename; its rule errors are the
    // caller's to judge. `folder` as in Request. The outcome's `plan` stays
    // empty: the caller has it.
    BatchOutcome run(const RenamePlan& plan, const std::optional<std::string>& folder,
                     const BatchControl& control = BatchControl{}) const;
    // The request's batch is moved out of it rather than copied: a large one
    // costs as much to copy as a fair part of its undo.
    UndoOutcome undo(UndoRequest request, const BatchControl& control = BatchControl{}) const;

private:
    // The pipeline's plan of the items, without those lacking metadata when
    // the request says so.
    static RenamePlan planItems(const Request& request, std::vector<FileItem>&& items);
    // What became of a batch's record: none was needed, or it was written,
    // or `error` says why not.
    HistoryRecording recordingOf(const std::exception_ptr& error, bool recorded) const;
    RenameExecutor executor() const;

    Services services_;
};

} // namespace morvane
