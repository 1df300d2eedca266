#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <thread>

namespace morvane::app {

// Where the window's work runs besides its own thread. Previews and batches
// each have a pool of their own, so that neither waits for the other; the
// pools are never torn down, so the process never waits for them at exit.
namespace WorkerPools {

// Preview computations, match counts, and freeing large plans.
QThreadPool& planning();
// Renames, undos, recoveries, and the history looked through at start.
QThreadPool& batches();

// Runs `job` on a thread of its own, which nothing waits for: a folder
// listing that never comes back (a disk gone away) holds only its own
// thread, and neither a newer listing nor the end of the process waits for
// it. The result goes to whoever still watches the future.
template <typename T>
QFuture<T> runAlone(std::function<T()> job) {
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    std::thread([promise, job = std::move(job)] {
        promise->addResult(job());
        promise->finish();
    }).detach();
    return future;
}

} // namespace WorkerPools
} // namespace morvane::app
