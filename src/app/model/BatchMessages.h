#pragma once

#include "app/model/Preview.h"
#include "engine/transactions/BatchOutcome.h"
#include "engine/transactions/RecoveryOutcome.h"
#include "engine/transactions/UndoOutcome.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// The window's words for how a batch ended; nothing when all went well.
std::optional<std::string> renameMessage(const BatchOutcome& outcome);
// The window's words for how an undo that ran (or could not read the
// history) ended; nothing when everything was put back.
std::optional<std::string> undoMessage(const UndoOutcome& outcome);

// The window's words for what putting back interrupted batches did: what
// was put back, what could not be and why, what is now recorded, and any
// record that could not be read. `home` is written "~" in the paths named.
std::string recoveryMessage(const std::vector<RecoveryOutcome>& outcomes, const std::string& home);
// A write-ahead record that cannot be read: which, why, and that nothing of it can be put back.
std::string unreadableRecordMessage(const UnfinishedBatch& batch, const std::string& home);

// Which way a batch went over the items: renaming them, or taking that back.
enum class BatchDirection { rename, undo };

// Loose items after a batch, or its undo, went over them: each item that an
// operation concerns takes the name the operation left it with, and the id
// of that name. An item is found by the path it had when the batch began:
// the path before the move after renaming, the path after it after an undo.
// One operation per item, so that in a swap or a chain the new name of one
// item never captures the next.
ItemList itemsAfter(const ItemList& items, const RenameTransaction& transaction, BatchDirection direction);
// The id the item with `id` has now, for the selection to follow it.
std::string idAfter(const std::string& id, const RenameTransaction& transaction, BatchDirection direction);

} // namespace morvane::app
