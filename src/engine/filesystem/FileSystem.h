#pragma once

#include "engine/filesystem/FSEntry.h"
#include "engine/filesystem/FileIdentity.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Everything the engine reads from or changes on disk goes through this
// contract, so that all of it can also run against an in-memory tree. Paths
// are absolute, slash-separated strings. `move` is the only operation that
// changes anything, and a thrown FileSystemError leaves everything as it was.
class FileSystem {
public:
    // One folder, held for a run of checks and moves of its entries: a large
    // batch makes them by name within the folder rather than by whole path.
    // The same contract as the file system's own calls, the errors naming the
    // whole paths. Only as long as no move of the run renames the folder or
    // one above it.
    class Folder {
    public:
        virtual ~Folder() = default;
        virtual bool exists(std::string_view name) const = 0;
        virtual void move(std::string_view from, std::string_view to) = 0;
        virtual std::optional<FileIdentity> identity(std::string_view name) const = 0;
    };

    virtual ~FileSystem() = default;

    // Whether something is at `path`; a symbolic link counts as itself, even
    // when its target is missing. Never fails.
    virtual bool exists(const std::string& path) const = 0;

    // Renames or moves `from` to `to`, never replacing anything: throws
    // notFound(from) when the source is missing, else alreadyExists(to) when
    // the target is taken (on a case-insensitive volume also by a name that
    // differs only in letter case), else failed(message).
    virtual void move(const std::string& from, const std::string& to) = 0;

    // The immediate children, hidden ones included, in no particular order.
    virtual std::vector<FSEntry> entries(const std::string& directory) const = 0;

    // Their names alone, or nothing when there are more than `limit`: for a
    // caller about to ask after many names of one folder, for whom one
    // listing is cheaper than a question per name, unless the folder is far
    // larger. By default from entries(). Throws as entries() does.
    virtual std::optional<std::vector<std::string>> names(const std::string& directory,
                                                          std::size_t limit) const;

    // What is at `path` (a link itself, not its target): the same for as long
    // as it exists, under whatever name. Nothing when nothing is there, or
    // when the file system tells no identities (the default). Never fails.
    virtual std::optional<FileIdentity> identity(const std::string& path) const;

    // The entries' names with their identities, or nothing when there are
    // more than `limit` or the file system tells no identities (the
    // default): for a caller about to ask after many entries of one folder.
    // Throws as entries() does.
    virtual std::optional<std::vector<IdentifiedName>> identities(const std::string& directory,
                                                                  std::size_t limit) const;

    // `path` with its symbolic links resolved (unchanged where nothing can be
    // resolved). Never fails.
    virtual std::string canonicalPath(const std::string& path) const = 0;

    // Whether names in this folder's volume compare case-sensitively; false
    // when that cannot be told. Never fails.
    virtual bool isCaseSensitive(const std::string& directory) const = 0;

    // The folder at `directory` for a run of checks and moves. By default
    // they go through exists() and move() with the joined paths.
    virtual std::unique_ptr<Folder> folder(const std::string& directory);
};

} // namespace morvane
