#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Slash-separated path strings. A path's components are the pieces between
// slashes, empty pieces dropped, so "/a//b/" and "/a/b" have the same ones.
class Paths {
public:
    // The last component; empty for "/" and for the empty path.
    static std::string lastComponent(std::string_view path);
    static std::string join(std::string_view directory, std::string_view name);
    // Whole components compare, exactly: "/a/b" is not a prefix of "/a/bc".
    static bool isPrefix(std::string_view prefix, std::string_view path);
    // `path` written from `root`: "" for the root itself, "a/b" for a folder
    // below it; nothing for a path outside it.
    static std::optional<std::string> relative(std::string_view root, std::string_view path);
    static std::string replacingPrefix(std::string_view oldPrefix, std::string_view newPrefix,
                                       std::string_view path);

    static std::vector<std::string_view> components(std::string_view path);
    static std::size_t componentCount(std::string_view path);
    // "/" followed by the components joined by "/", without "." and with each
    // ".." taking back the component before it (none above "/"): one spelling
    // per path, as far as the text of the path can tell.
    static std::string normalized(std::string_view path);
    // The normalized path without its last component ("/" for a top-level path).
    static std::string parent(std::string_view path);
    // Non-empty, not "." or "..", and without "/" or NUL: a name that can only
    // ever denote an entry of the folder it is joined to.
    static bool isSingleComponent(std::string_view name);
};

} // namespace morvane
