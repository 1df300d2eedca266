#include "BenchFolders.h"
#include "engine/transactions/HistoryStore.h"

#include <benchmark/benchmark.h>

namespace morvane::bench {
namespace {

// What a completed batch of camera renames records.
RenameTransaction photoBatch(std::size_t count) {
    RenameTransaction transaction;
    transaction.id = Uuid({0x42}); // one id, so that saving again replaces the same file
    transaction.date = Date{} + std::chrono::hours(24 * 365 * 54);
    transaction.directory = "/home/user/Pictures/Trip 2024";
    transaction.operations.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string from = numberedName("IMG_", i);
        transaction.operations.push_back({transaction.directory + "/" + from, transaction.directory, from,
                                          numberedName("photo-", i), false,
                                          RenameTransaction::Operation::State::done, std::nullopt, false});
    }
    return transaction;
}

// The JSON text of the history file alone.
void historyEncode(benchmark::State& state) {
    const RenameTransaction transaction = photoBatch(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(HistoryStore::encode(transaction));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Recording a batch as a rename does: the text, then an atomic, synced
// replacement of the file (the same file each time).
void historySave(benchmark::State& state) {
    const RenameTransaction transaction = photoBatch(static_cast<std::size_t>(state.range(0)));
    const HistoryStore store((dataFolder() / "history").string());
    for (auto _ : state) {
        store.save(transaction);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(historyEncode)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(historySave)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
