#pragma once

#include "engine/filesystem/FileSystem.h"

namespace morvane {

// The real disk, through the POSIX and Linux system calls. Holds no state and
// caches nothing: every call goes to the system.
//
// On Linux no folder is a package (`isPackage` is always false), an entry is
// hidden exactly when its name begins with ".", and `created` is the birth
// time where the file system records one (else 1970-01-01 00:00:00 UTC).
class LocalFileSystem : public FileSystem {
public:
    // What a listing reads of each entry. Dates and sizes cost one statx call
    // per entry, as much as the listing itself; a caller whose rules and order
    // use neither can ask for names and kinds alone (dates then stand at the
    // epoch and sizes at 0).
    enum class Details { all, namesAndKinds };

    explicit LocalFileSystem(Details details = Details::all) : details_(details) {}

    bool exists(const std::string& path) const override;
    void move(const std::string& from, const std::string& to) override;
    std::vector<FSEntry> entries(const std::string& directory) const override;
    // From the listing alone, whatever details the entries would have.
    std::optional<std::vector<std::string>> names(const std::string& directory,
                                                  std::size_t limit) const override;
    std::optional<FileIdentity> identity(const std::string& path) const override;
    // From the listing, and one question per folder listed.
    std::optional<std::vector<IdentifiedName>> identities(const std::string& directory,
                                                          std::size_t limit) const override;
    std::string canonicalPath(const std::string& path) const override;
    // Looks an entry of the folder up under a case-swapped name, so casefolded
    // ext4 folders and FAT, exFAT or NTFS mounts are recognised as such.
    bool isCaseSensitive(const std::string& directory) const override;
    // Held open by a descriptor, so that moves of its entries are made by name.
    std::unique_ptr<Folder> folder(const std::string& directory) override;

private:
    Details details_;
};

} // namespace morvane
