#include "engine/filesystem/FileSystem.h"

#include "engine/support/Paths.h"

namespace morvane {
namespace {

// A folder by its path: every call goes through the file system's own.
class JoiningFolder : public FileSystem::Folder {
public:
    JoiningFolder(FileSystem& fileSystem, std::string directory)
        : fileSystem_(fileSystem), directory_(std::move(directory)) {}

    bool exists(std::string_view name) const override {
        return fileSystem_.exists(Paths::join(directory_, name));
    }
    void move(std::string_view from, std::string_view to) override {
        fileSystem_.move(Paths::join(directory_, from), Paths::join(directory_, to));
    }
    std::optional<FileIdentity> identity(std::string_view name) const override {
        return fileSystem_.identity(Paths::join(directory_, name));
    }

private:
    FileSystem& fileSystem_;
    std::string directory_;
};

} // namespace

std::optional<std::vector<std::string>> FileSystem::names(const std::string& directory,
                                                          std::size_t limit) const {
    std::vector<FSEntry> listed = entries(directory);
    if (listed.size() > limit) {
        return std::nullopt;
    }
    std::vector<std::string> result;
    result.reserve(listed.size());
    for (FSEntry& entry : listed) {
        result.push_back(std::move(entry.name));
    }
    return result;
}

std::optional<FileIdentity> FileSystem::identity(const std::string&) const {
    return std::nullopt;
}

std::optional<std::vector<IdentifiedName>> FileSystem::identities(const std::string&, std::size_t) const {
    return std::nullopt;
}

std::unique_ptr<FileSystem::Folder> FileSystem::folder(const std::string& directory) {
    return std::make_unique<JoiningFolder>(*this, directory);
}

} // namespace morvane
