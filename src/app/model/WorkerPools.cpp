#include "app/model/WorkerPools.h"

#include <QThread>
#include <algorithm>

namespace morvane::app::WorkerPools {
namespace {

// Made once and kept to the end of the process: a pool destroyed at exit
// would wait for its threads.
QThreadPool* made(int threads) {
    auto* pool = new QThreadPool();
    pool->setMaxThreadCount(threads);
    return pool;
}

} // namespace

// At least two threads even on one processor: a stopped computation still
// winding down never delays the next.
QThreadPool& planning() {
    static QThreadPool* pool = made(std::max(2, QThread::idealThreadCount()));
    return *pool;
}

// Several windows may each run a batch while another opens and reads the history.
QThreadPool& batches() {
    static QThreadPool* pool = made(std::max(4, QThread::idealThreadCount()));
    return *pool;
}

} // namespace morvane::app::WorkerPools
