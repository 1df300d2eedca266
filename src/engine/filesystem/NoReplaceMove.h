#pragma once

namespace morvane::posix {

// Moves that never replace an existing entry. Each returns 0 on success or the
// error number (errno) of the failure, and changes nothing when it fails.

// The kernel's own no-replace rename: the existence check and the move are one
// atomic step, so no other process can slip a file in between. File systems
// that do not support it answer EINVAL (ENOSYS on very old kernels).
int renameNoReplace(const char* from, const char* to);

// For files where the rename flag is refused: a hard link cannot be created
// over an existing name either; the old name is then removed. Folders cannot
// be hard-linked.
int moveByLinking(const char* from, const char* to);

// The last resort (folders, volumes without hard links): a check, then a plain
// rename. Another process could still create the target in between.
int moveAfterCheck(const char* from, const char* to);

// renameNoReplace, falling back as described where the volume refuses it.
int moveWithoutReplacing(const char* from, const char* to);

// The same between two names of the folder open as `directory` (a file
// descriptor), which spares the system the walk down the whole path.
int moveWithoutReplacingAt(int directory, const char* from, const char* to);

} // namespace morvane::posix
