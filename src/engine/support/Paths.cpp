#include "engine/support/Paths.h"

#include <algorithm>

namespace morvane {

std::vector<std::string_view> Paths::components(std::string_view path) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start) {
            result.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

std::size_t Paths::componentCount(std::string_view path) {
    std::size_t count = 0;
    bool inComponent = false;
    for (const char c : path) {
        if (c == '/') {
            inComponent = false;
        } else if (!inComponent) {
            inComponent = true;
            ++count;
        }
    }
    return count;
}

std::string Paths::lastComponent(std::string_view path) {
    const std::size_t end = path.find_last_not_of('/');
    if (end == std::string_view::npos) {
        return {};
    }
    const std::size_t slash = path.rfind('/', end);
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(path.substr(start, end + 1 - start));
}

std::string Paths::join(std::string_view directory, std::string_view name) {
    // Made to size: a listing of a million entries keeps a million of these.
    const bool needsSlash = !directory.empty() && !directory.ends_with('/');
    std::string result;
    result.reserve(directory.size() + (needsSlash ? 1 : 0) + name.size());
    result += directory;
    if (needsSlash) {
        result += '/';
    }
    result += name;
    return result;
}

bool Paths::isPrefix(std::string_view prefix, std::string_view path) {
    const auto head = components(prefix);
    const auto whole = components(path);
    if (whole.size() < head.size()) {
        return false;
    }
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] != whole[i]) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> Paths::relative(std::string_view root, std::string_view path) {
    // Scanned items spell their folders as the root joined with the rest:
    // that needs no splitting.
    const std::string_view trimmedRoot =
        root.size() > 1 && root.back() == '/' ? root.substr(0, root.size() - 1) : root;
    if (path.starts_with(trimmedRoot)) {
        const std::string_view rest = path.substr(trimmedRoot.size());
        if (rest.empty()) {
            return std::string();
        }
        if (rest.front() == '/' && rest.find("//") == std::string_view::npos && !rest.ends_with('/') &&
            trimmedRoot != "/") {
            return std::string(rest.substr(1));
        }
    }
    if (!isPrefix(root, path)) {
        return std::nullopt;
    }
    const auto whole = components(path);
    std::string result;
    for (std::size_t i = componentCount(root); i < whole.size(); ++i) {
        if (!result.empty()) {
            result += '/';
        }
        result += whole[i];
    }
    return result;
}

std::string Paths::replacingPrefix(std::string_view oldPrefix, std::string_view newPrefix,
                                   std::string_view path) {
    if (!isPrefix(oldPrefix, path)) {
        return std::string(path);
    }
    const auto whole = components(path);
    std::string result(newPrefix);
    for (std::size_t i = componentCount(oldPrefix); i < whole.size(); ++i) {
        result += '/';
        result += whole[i];
    }
    return result;
}

std::string Paths::normalized(std::string_view path) {
    std::string result;
    result.reserve(path.size() + 1);
    for (const std::string_view component : components(path)) {
        if (component == "..") {
            result.erase(std::min(result.size(), result.rfind('/')));
        } else if (component != ".") {
            result += '/';
            result += component;
        }
    }
    return result.empty() ? "/" : result;
}

std::string Paths::parent(std::string_view path) {
    auto pieces = components(path);
    if (pieces.size() <= 1) {
        return "/";
    }
    std::string result;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        result += '/';
        result += pieces[i];
    }
    return result;
}

bool Paths::isSingleComponent(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace morvane
