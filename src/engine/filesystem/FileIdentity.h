#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// What a file or folder is, whatever it is named: its volume and its number
// there. A rename keeps it, and nothing else on the volume has it meanwhile,
// so an item can be found after a crash however many names it went through.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

// One entry of a folder, by name, with what it is.
struct IdentifiedName {
    std::string name;
    FileIdentity identity;

    bool operator==(const IdentifiedName&) const = default;
};

} // namespace morvane
