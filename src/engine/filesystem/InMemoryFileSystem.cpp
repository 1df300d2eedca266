#include "engine/filesystem/InMemoryFileSystem.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"
#include "engine/support/NameKey.h"
#include "engine/support/Paths.h"

#include <algorithm>

namespace morvane {

InMemoryFileSystem::InMemoryFileSystem(bool caseSensitive) : caseSensitive_(caseSensitive) {}

std::string InMemoryFileSystem::keyOf(const std::string& path) const {
    return NameKey(Paths::normalized(path), caseSensitive_).text();
}

namespace {

// The entries strictly below the folder whose key is `key`.
template <typename Map>
auto subtree(Map& nodes, const std::string& key) {
    const std::string prefix = key == "/" ? key : key + "/";
    auto first = nodes.lower_bound(prefix);
    auto last = first;
    while (last != nodes.end() && last->first.starts_with(prefix)) {
        ++last;
    }
    return std::pair{first, last};
}

// `newPath` followed by the components of `path` after its first `count`.
std::string rebased(const std::string& newPath, const std::string& path, std::size_t count) {
    std::string result = newPath;
    const auto pieces = Paths::components(path);
    for (std::size_t i = count; i < pieces.size(); ++i) {
        result += '/';
        result += pieces[i];
    }
    return result;
}

} // namespace

void InMemoryFileSystem::ensureDirectory(const std::string& path, Date created) {
    const std::string normalized = Paths::normalized(path);
    if (normalized == "/") {
        return;
    }
    const std::string key = keyOf(normalized);
    if (nodes_.contains(key)) {
        return;
    }
    ensureDirectory(Paths::parent(normalized), created);
    const std::string name = Paths::lastComponent(normalized);
    nodes_[key] = Node{normalized, FSEntry(name, true, false, false, false, std::nullopt, created, Date{}, 0),
                       ++lastInode_};
}

void InMemoryFileSystem::addDirectory(const std::string& path, Date created, bool isPackage) {
    std::lock_guard guard(lock_);
    ensureDirectory(path, created);
    const auto found = nodes_.find(keyOf(path));
    if (found != nodes_.end()) {
        found->second.entry.isPackage = isPackage;
    }
}

void InMemoryFileSystem::addFile(const std::string& path, Date created, Date modified, std::int64_t size) {
    std::lock_guard guard(lock_);
    const std::string normalized = Paths::normalized(path);
    ensureDirectory(Paths::parent(normalized), created);
    nodes_[keyOf(normalized)] = Node{normalized,
                                     FSEntry(Paths::lastComponent(normalized), false, false, false, false,
                                             std::nullopt, created, modified, size),
                                     ++lastInode_};
}

void InMemoryFileSystem::addSymlink(const std::string& path, bool targetIsDirectory) {
    std::lock_guard guard(lock_);
    const std::string normalized = Paths::normalized(path);
    ensureDirectory(Paths::parent(normalized), Date{});
    nodes_[keyOf(normalized)] = Node{normalized,
                                     FSEntry(Paths::lastComponent(normalized), false, true, targetIsDirectory,
                                             false, std::nullopt, Date{}, Date{}, 0),
                                     ++lastInode_};
}

void InMemoryFileSystem::failMoves(const std::string& from) {
    std::lock_guard guard(lock_);
    failingSources_.insert(from);
}

std::vector<std::string> InMemoryFileSystem::paths() const {
    std::lock_guard guard(lock_);
    std::vector<std::string> result;
    result.reserve(nodes_.size());
    for (const auto& [key, node] : nodes_) {
        result.push_back(node.path);
    }
    std::sort(result.begin(), result.end());
    return result;
}

std::vector<std::string> InMemoryFileSystem::moves() const {
    std::lock_guard guard(lock_);
    return movesLog_;
}

bool InMemoryFileSystem::exists(const std::string& path) const {
    std::lock_guard guard(lock_);
    const std::string key = keyOf(path);
    return key == "/" || nodes_.contains(key);
}

void InMemoryFileSystem::move(const std::string& from, const std::string& to) {
    std::lock_guard guard(lock_);
    if (failingSources_.contains(from)) {
        throw FileSystemError::failed("Permission denied for \u201C" + Paths::lastComponent(from) + "\u201D");
    }
    const std::string fromKey = keyOf(from);
    const auto source = nodes_.find(fromKey);
    if (source == nodes_.end()) {
        throw FileSystemError::notFound(from);
    }
    const std::string toKey = keyOf(to);
    if (toKey == "/" || nodes_.contains(toKey)) {
        throw FileSystemError::alreadyExists(to);
    }
    const std::string toParent = Paths::parent(to);
    if (toParent != "/" && !nodes_.contains(keyOf(toParent))) {
        throw FileSystemError::notFound(toParent);
    }
    // A real volume refuses this too: the folder would vanish inside itself.
    if (toKey.starts_with(fromKey + "/")) {
        throw FileSystemError::failed(
            localized("\u201C%@\u201D cannot be moved into itself", Paths::lastComponent(from)));
    }

    const std::string newPath = Paths::normalized(to);
    const std::size_t depth = Paths::componentCount(fromKey);
    Node moved = source->second;
    moved.path = newPath;
    moved.entry.name = Paths::lastComponent(newPath);
    std::vector<Node> descendants;
    auto [first, last] = subtree(nodes_, fromKey);
    for (auto it = first; it != last; ++it) {
        Node node = it->second;
        node.path = rebased(newPath, node.path, depth);
        descendants.push_back(std::move(node));
    }
    nodes_.erase(first, last);
    nodes_.erase(fromKey);
    nodes_[toKey] = std::move(moved);
    for (auto& node : descendants) {
        nodes_[keyOf(node.path)] = std::move(node);
    }
    movesLog_.push_back(from + " -> " + to);
}

template <typename Visit>
void InMemoryFileSystem::forEachChild(const std::string& directory, Visit visit) const {
    const std::string key = keyOf(directory);
    if (key != "/") {
        const auto folder = nodes_.find(key);
        if (folder == nodes_.end() || !folder->second.entry.isDirectory) {
            throw FileSystemError::notFound(directory);
        }
    }
    const std::size_t depth = Paths::componentCount(key) + 1;
    auto [first, last] = subtree(nodes_, key);
    for (auto it = first; it != last; ++it) {
        if (Paths::componentCount(it->first) == depth) {
            visit(it->second);
        }
    }
}

std::vector<FSEntry> InMemoryFileSystem::entries(const std::string& directory) const {
    std::lock_guard guard(lock_);
    std::vector<FSEntry> result;
    forEachChild(directory, [&](const Node& node) { result.push_back(node.entry); });
    return result;
}

std::optional<FileIdentity> InMemoryFileSystem::identity(const std::string& path) const {
    std::lock_guard guard(lock_);
    const auto found = nodes_.find(keyOf(path));
    if (found == nodes_.end()) {
        return std::nullopt;
    }
    return FileIdentity{1, found->second.inode};
}

std::optional<std::vector<IdentifiedName>> InMemoryFileSystem::identities(const std::string& directory,
                                                                          std::size_t limit) const {
    std::lock_guard guard(lock_);
    std::vector<IdentifiedName> result;
    forEachChild(directory, [&](const Node& node) { result.push_back({node.entry.name, {1, node.inode}}); });
    if (result.size() > limit) {
        return std::nullopt;
    }
    return result;
}

} // namespace morvane
