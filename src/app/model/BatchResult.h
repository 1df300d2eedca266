#pragma once

#include "app/model/AppModel.h"
#include "engine/transactions/BatchOutcome.h"
#include "engine/transactions/RecoveryOutcome.h"
#include "engine/transactions/UndoOutcome.h"

#include <memory>
#include <optional>
#include <vector>

namespace morvane::app {

// What a batch's thread hands back: the outcome of a rename, an undo or a
// recovery (one of them), and for loose files the items as the batch left
// them (worked out there rather than on the window's thread).
struct AppModel::BatchResult {
    std::optional<BatchOutcome> rename;
    std::optional<UndoOutcome> undo;
    std::optional<std::vector<RecoveryOutcome>> recovery;
    std::shared_ptr<const ItemList> basedOn; // the loose items when the batch began
    std::shared_ptr<const ItemList> items;
};

} // namespace morvane::app
