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

} // namespace morvane::app
