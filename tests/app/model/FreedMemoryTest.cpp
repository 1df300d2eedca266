#include "app/model/FreedMemory.h"

#include "ModelTesting.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace morvane::app::testing {
namespace {

// The process's resident memory, in kB.
long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kilobytes = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> kilobytes) {
            return kilobytes;
        }
    }
    return 0;
}

// Filled, and seen by the compiler to be used, so that it is really taken.
void* taken(std::size_t bytes) {
    static void* volatile escaped;
    void* block = std::malloc(bytes);
    std::memset(block, 1, bytes);
    escaped = block;
    return escaped;
}

} // namespace

class FreedMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void freedHeapMemoryGoesBackToTheSystem() {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
        QSKIP("only the C library's own allocator keeps freed memory this way");
#endif
        // 64 MB taken and freed on a thread of its own, as a batch's memory
        // is, keeping one small block in 64 so that the heap cannot shrink
        // by itself.
        std::vector<void*> kept;
        std::thread([&] {
            std::vector<void*> blocks;
            for (int i = 0; i < 64 * 1024; ++i) {
                blocks.push_back(std::malloc(1000));
                std::memset(blocks.back(), 1, 1000);
            }
            for (std::size_t i = 0; i < blocks.size(); ++i) {
                if (i % 64 == 0) {
                    kept.push_back(blocks[i]);
                } else {
                    std::free(blocks[i]);
                }
            }
        }).join();
        const long before = residentKb();
        returnFreedMemory();
        const long after = residentKb();
        for (void* block : kept) {
            std::free(block);
        }
        QVERIFY2(before - after > 32 * 1024,
                 qPrintable(QString("%1 kB before, %2 kB after").arg(before).arg(after)));
    }

    void largeBlocksGoBackAsSoonAsTheyAreFreed() {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
        QSKIP("only the C library's own allocator keeps freed memory this way");
#endif
        keepFreedMemoryReturnable();
        // A large block freed first: the C library would then take blocks up
        // to its size from the heap and keep them there once freed.
        std::free(taken(24 * 1024 * 1024));
        void* block = taken(16 * 1024 * 1024);
        const long before = residentKb();
        std::free(block);
        const long after = residentKb();
        QVERIFY2(before - after > 15 * 1024,
                 qPrintable(QString("%1 kB before, %2 kB after").arg(before).arg(after)));
    }
};

namespace {
const bool registered = registerTestClass<FreedMemoryTest>();
}

} // namespace morvane::app::testing

#include "FreedMemoryTest.moc"
