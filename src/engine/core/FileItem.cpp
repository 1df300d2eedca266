#include "engine/core/FileItem.h"

#include <functional>

namespace morvane {

FileItem::FileItem(std::string name_, SharedString directory_, Date created_, Date modified_,
                   std::int64_t size_, bool isDirectory_, bool isIncluded_, std::optional<std::string> id_,
                   std::optional<SharedString> parentName_)
    : id(id_ ? std::move(*id_) : defaultId(name_, directory_)), name(std::move(name_)),
      directory(std::move(directory_)),
      parentName(parentName_ ? std::move(*parentName_) : SharedString(defaultParentName(directory))),
      created(created_), modified(modified_), size(size_), isDirectory(isDirectory_),
      isIncluded(isIncluded_) {}

std::string FileItem::defaultId(const std::string& name, const std::string& directory) {
    if (directory.empty()) {
        return name;
    }
    std::string id;
    id.reserve(directory.size() + 1 + name.size());
    id.append(directory).append("/").append(name);
    return id;
}

std::string FileItem::defaultParentName(const std::string& directory) {
    const auto end = directory.find_last_not_of('/');
    if (end == std::string::npos) {
        return {};
    }
    const auto slash = directory.rfind('/', end);
    const auto start = slash == std::string::npos ? 0 : slash + 1;
    return directory.substr(start, end + 1 - start);
}

} // namespace morvane

std::size_t std::hash<morvane::FileItem>::operator()(const morvane::FileItem& item) const noexcept {
    std::size_t seed = 0;
    auto mix = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    mix(std::hash<std::string>{}(item.id));
    mix(std::hash<std::string>{}(item.name));
    mix(std::hash<morvane::SharedString>{}(item.directory));
    mix(std::hash<morvane::SharedString>{}(item.parentName));
    mix(std::hash<long long>{}(item.created.time_since_epoch().count()));
    mix(std::hash<long long>{}(item.modified.time_since_epoch().count()));
    mix(std::hash<std::int64_t>{}(item.size));
    mix(std::hash<bool>{}(item.isDirectory));
    mix(std::hash<bool>{}(item.isIncluded));
    return seed;
}
