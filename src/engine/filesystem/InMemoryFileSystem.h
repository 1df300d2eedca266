#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/support/Date.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace morvane {

// A complete file system in memory, and the reference for the contract: a move
// never replaces anything, a case-only rename on a case-insensitive volume is
// refused like any other collision, and moving a folder moves everything below
// it. Tests build a tree with the add… calls, make chosen moves fail, and read
// back the paths and the log of moves. Every operation holds one lock, so the
// object may be shared between threads.
class InMemoryFileSystem : public FileSystem {
public:
    explicit InMemoryFileSystem(bool caseSensitive);

    // Creates the folder and its missing ancestors, then sets its package flag.
    void addDirectory(const std::string& path, Date created = {}, bool isPackage = false);
    // Missing ancestors are created with `created` as their date. Replaces an
    // entry stored under the same path.
    void addFile(const std::string& path, Date created = {}, Date modified = {}, std::int64_t size = 0);
    void addSymlink(const std::string& path, bool targetIsDirectory);
    // Every later move from exactly this path fails with a permission message.
    void failMoves(const std::string& from);

    // The path of every entry, in ascending order, in the letter case each was
    // created or last moved with.
    std::vector<std::string> paths() const;
    // One "from -> to" line per successful move.
    std::vector<std::string> moves() const;

    bool exists(const std::string& path) const override;
    void move(const std::string& from, const std::string& to) override;
    std::vector<FSEntry> entries(const std::string& directory) const override;
    // Every entry added is a new one, on one volume; a move keeps it.
    std::optional<FileIdentity> identity(const std::string& path) const override;
    std::optional<std::vector<IdentifiedName>> identities(const std::string& directory,
                                                          std::size_t limit) const override;
    std::string canonicalPath(const std::string& path) const override { return path; }
    bool isCaseSensitive(const std::string&) const override { return caseSensitive_; }

private:
    struct Node {
        std::string path;
        FSEntry entry;
        std::uint64_t inode = 0;
    };
    // Keys are normalized paths ("/a/b"), compared as the volume compares
    // names. Kept in order, so a folder's subtree is one contiguous range.
    using Nodes = std::map<std::string, Node>;

    std::string keyOf(const std::string& path) const;
    // The entries directly in the folder; throws notFound when there is no such folder.
    template <typename Visit>
    void forEachChild(const std::string& directory, Visit visit) const; // caller holds the lock
    void ensureDirectory(const std::string& path, Date created);        // caller holds the lock

    mutable std::mutex lock_;
    const bool caseSensitive_;
    Nodes nodes_;
    std::set<std::string> failingSources_;
    std::vector<std::string> movesLog_;
    std::uint64_t lastInode_ = 0;
};

} // namespace morvane
