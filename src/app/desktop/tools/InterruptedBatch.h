#pragma once

#include "engine/filesystem/FolderScanner.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/transactions/BatchRunner.h"

#include <cstddef>
#include <memory>
#include <string>

namespace morvane::app {

// Renames the items of `folder` as `pipeline` says (leaving out conflicts)
// through the engine's batch runner, and stops it dead after `moves` moves,
// as a crash would: nothing of the batch runs after that, not even its end,
// so its write-ahead record stays in `history` as it was. For tests and
// screenshots of what the window offers after a crash. False when the batch
// ended before it could be stopped.
inline bool leaveInterruptedBatch(const std::string& folder, const std::string& history,
                                  RenamePipeline pipeline, std::size_t moves) {
    struct CutShort {};
    const auto disk = std::make_shared<LocalFileSystem>();
    BatchRunner::Request request;
    request.items = FolderScanner(disk).scan(folder, ScanOptions{});
    request.pipeline = std::move(pipeline);
    request.folder = folder;
    request.skipConflicting = true;
    BatchControl control;
    // Progress is told after every move, on the batch's own thread.
    control.progress = [moves](const BatchProgress& progress) {
        if (progress.phase == BatchProgress::Phase::renaming && progress.done == moves) {
            throw CutShort{};
        }
    };
    try {
        BatchRunner(BatchRunner::Services{disk, HistoryStore(history)}).rename(std::move(request), control);
    } catch (const CutShort&) {
        return true;
    }
    return false;
}

} // namespace morvane::app
