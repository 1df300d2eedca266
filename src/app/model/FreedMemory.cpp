#include "app/model/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace morvane::app {

void returnFreedMemory() {
#if defined(__GLIBC__)
    // Every thread's heap, not only the main one: most of a batch's memory
    // was taken on worker threads.
    malloc_trim(0);
#endif
}

void keepFreedMemoryReturnable() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    mallopt(M_ARENA_MAX, 2);
#endif
}

} // namespace morvane::app
