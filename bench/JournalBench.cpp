#include "BenchFolders.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/transactions/BatchJournal.h"
#include "engine/transactions/ItemIdentities.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace morvane::bench {
namespace {

// A batch of camera renames in a real folder, as the write-ahead record takes it.
struct PhotoRenames {
    std::string folder;
    RenameTransaction transaction;
    std::vector<MovePlanner::RenameRef> renames;
    MoveOrder order;

    explicit PhotoRenames(std::size_t count) : folder(photoFolder(count)) {
        transaction.id = Uuid({0x42});
        transaction.directory = folder;
        for (std::size_t i = 1; i <= count; ++i) {
            const std::string from = numberedName("IMG_", i);
            transaction.operations.push_back({folder + "/" + from, folder, from, numberedName("photo-", i),
                                              false, RenameTransaction::Operation::State::pending,
                                              std::nullopt, false});
        }
        for (const auto& operation : transaction.operations) {
            renames.push_back({operation.directory, operation.from, operation.to});
        }
        order.temporaryOf.assign(count, MoveOrder::kNone);
        for (std::uint32_t i = 0; i < count; ++i) {
            order.moves.push_back({i, false});
        }
    }
};

// What each item is, read just before a batch's first move: one listing.
void itemIdentities(benchmark::State& state) {
    const PhotoRenames batch(static_cast<std::size_t>(state.range(0)));
    LocalFileSystem fileSystem;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ItemIdentities::of(fileSystem, batch.renames));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The record written, flushed and put in place before the first move, with
// the items' identities (second argument 1) or without; its size in bytes.
void journalCreate(benchmark::State& state) {
    const PhotoRenames batch(static_cast<std::size_t>(state.range(0)));
    LocalFileSystem fileSystem;
    std::vector<std::optional<FileIdentity>> identities;
    if (state.range(1) != 0) {
        identities = ItemIdentities::of(fileSystem, batch.renames);
    }
    const std::string path = (dataFolder() / "bench.journal").string();
    std::filesystem::remove(path);
    BatchJournal::Header header;
    header.batch = batch.transaction.id;
    header.directory = batch.folder;
    std::uintmax_t size = 0;
    for (auto _ : state) {
        BatchJournal journal =
            BatchJournal::create(path, header, batch.transaction, batch.renames, batch.order, {}, identities);
        state.PauseTiming();
        size = std::filesystem::file_size(path);
        journal.remove();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(itemIdentities)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(journalCreate)->Args({100'000, 0})->Args({100'000, 1})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
