#pragma once

#include "engine/core/RenamePlan.h"
#include "engine/filesystem/FileSystem.h"

namespace morvane {

// A plan knows only its own items. When they are files picked one by one
// rather than a whole folder, a new name may already belong to another entry
// of the folder, and the move would be refused. This looks each new name up
// among the entries of its folder, as the volume compares names (letter case
// ignored on a case-insensitive volume, canonical equivalence always), and
// marks an entry `nameTaken` when an entry that is not one of the plan's items
// holds its name. Lists each folder with a renamed item once; a folder that
// cannot be listed is left to the rename to report.
void markNamesTakenOnDisk(RenamePlan& plan, const FileSystem& fileSystem);

} // namespace morvane
