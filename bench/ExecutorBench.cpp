#include "BenchItems.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/transactions/RenameExecutor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace morvane::bench {
namespace {

const std::string folder = "/photos";

// IMG_00000.JPG -> photo-00000.JPG and so on: no chains, no cycles, so
// the time is the executor's own bookkeeping and one move per item.
std::vector<RenameOperation> photoRenames(std::size_t count) {
    std::vector<RenameOperation> operations;
    operations.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        FileItem item(numberedName("IMG_", i), folder, Date{}, Date{}, 0, false, true);
        const std::string from = item.name;
        operations.push_back({std::move(item), from, numberedName("photo-", i)});
    }
    return operations;
}

std::shared_ptr<InMemoryFileSystem> folderOf(const std::vector<RenameOperation>& operations) {
    auto fileSystem = std::make_shared<InMemoryFileSystem>(true);
    fileSystem->addDirectory(folder);
    for (const RenameOperation& operation : operations) {
        fileSystem->addFile(folder + "/" + operation.from);
    }
    return fileSystem;
}

void executorInMemory(benchmark::State& state) {
    const auto operations = photoRenames(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        // A fresh folder each time; building and freeing it is not timed.
        state.PauseTiming();
        std::optional<RenameExecutor> executor{RenameExecutor(folderOf(operations))};
        std::optional<RenameTransaction> transaction;
        state.ResumeTiming();

        transaction = executor->execute(operations, folder, std::nullopt);

        state.PauseTiming();
        if (transaction->outcome != RenameTransaction::Outcome::completed) {
            state.SkipWithError("the batch did not complete");
        }
        transaction.reset();
        executor.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(executorInMemory)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
