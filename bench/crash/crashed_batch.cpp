// Leaves an unfinished batch behind for `bench/compare` to time its recovery:
// renames every IMG_<digits> of FOLDER to photo-<digits>, as
// `morvane-cli rename --regex '^IMG_(\d+)=photo-$1'` does, with its
// write-ahead record in HISTORY, and kills itself (SIGKILL) after the last
// move, just before the batch's own record would replace that. Recovery then
// has every file to put back, the most it can have.
//
//   crashed_batch FOLDER HISTORY
#include "engine/filesystem/FolderScanner.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/rules/RegexRule.h"
#include "engine/transactions/BatchRunner.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    using namespace morvane;
    if (argc != 3) {
        std::fprintf(stderr, "usage: crashed_batch FOLDER HISTORY\n");
        return 2;
    }
    try {
        const auto fileSystem = std::make_shared<LocalFileSystem>(LocalFileSystem::Details::namesAndKinds);
        BatchRunner::Request request;
        request.items = FolderScanner(fileSystem).scan(argv[1], ScanOptions{});
        request.pipeline = RenamePipeline({makeStep(RegexRule("^IMG_(\\d+)", "photo-$1", false))});
        request.folder = argv[1];
        BatchControl control;
        control.progress = [](const BatchProgress& progress) {
            if (progress.phase == BatchProgress::Phase::renaming && progress.total > 0 &&
                progress.done == progress.total) {
                std::raise(SIGKILL);
            }
        };
        BatchRunner(BatchRunner::Services{fileSystem, HistoryStore(argv[2])})
            .rename(std::move(request), control);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "crashed_batch: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "crashed_batch: the batch ended without moving anything\n");
    return 1;
}
