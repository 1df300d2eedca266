#pragma once

#include "engine/filesystem/FileIdentity.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/MovePlanner.h"

#include <optional>
#include <vector>

namespace morvane {

// What each item of a batch is, read under its current name just before the
// first move, so that it can be found after a crash whatever name it has.
struct ItemIdentities {
    // By rename: the identity of what is at its `from` name; none when
    // nothing is there or the file system tells no identities. A folder of
    // which many items move is listed once, which costs a fraction of a
    // question per item; otherwise each item is asked after.
    static std::vector<std::optional<FileIdentity>> of(FileSystem& fileSystem,
                                                       const std::vector<MovePlanner::RenameRef>& renames);
};

} // namespace morvane
