#include "engine/filesystem/FSEntry.h"

namespace morvane {

FSEntry::FSEntry(std::string name_, bool isDirectory_, bool isSymlink_, bool symlinkTargetIsDirectory_,
                 bool isPackage_, std::optional<bool> isHidden_, Date created_, Date modified_,
                 std::int64_t size_)
    : name(std::move(name_)), isDirectory(isDirectory_), isSymlink(isSymlink_),
      symlinkTargetIsDirectory(symlinkTargetIsDirectory_), isPackage(isPackage_),
      isHidden(isHidden_.value_or(name.starts_with('.'))), created(created_), modified(modified_),
      size(size_) {}

} // namespace morvane
