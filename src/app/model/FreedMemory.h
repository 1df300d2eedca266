#pragma once

namespace morvane::app {

// Hands the heap memory the process has freed back to the system. The C
// library keeps what a large batch freed (the items and plans it replaced,
// the work of its threads) for later use, on every thread's heap, so that
// without this a window that renamed a big folder once stays hundreds of
// megabytes larger than before for as long as it is open. Takes a few
// milliseconds after a batch of a hundred thousand items; nothing where the
// C library has no such call.
void returnFreedMemory();

// Has every block of a megabyte or more taken straight from the system, and
// given back as soon as it is freed. Left alone, the C library raises that
// limit to the largest block freed so far (up to 32 MB): from then on the
// lists of a big folder's items, plans and batches come from the heap, where
// the small blocks allocated around them keep the memory from going back,
// and a window that renamed a large folder stays larger by a good part of
// its size. The worker threads also share two heaps instead of one each:
// the items and plans of a folder then lie in fewer heaps, with fewer pages
// half used by them and half free. Once per process, before the first
// folder is read.
void keepFreedMemoryReturnable();

} // namespace morvane::app
