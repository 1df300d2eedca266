#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Numbers the distinct name keys (see NameKey.h) met in one
// folder 0, 1, 2… in order of first appearance, so that the planner can keep
// what it knows about a name in plain arrays. Planning a large batch looks up
// every name, and most are ASCII: their key is the name itself, or its ASCII
// lower case, made here without ICU and without a string per name.
class FolderNameKeys {
public:
    // Forgets every number; later names are keyed for a volume of the given
    // case sensitivity. `expectedKeys` only sizes the table.
    void reset(bool caseSensitive, std::size_t expectedKeys);

    // The number of `name`'s key. The name's characters must stay in place
    // until the next reset: keys equal to their name are not copied.
    std::uint32_t number(std::string_view name);

    std::size_t size() const { return keys_.size(); }

private:
    // `hash` is the key's; `isCopy` when its characters do not stay in place.
    std::uint32_t numberOfKey(std::string_view key, std::uint64_t hash, bool isCopy);
    std::string_view store(std::string_view key);
    void grow();

    bool caseSensitive_ = true;
    std::vector<std::string_view> keys_;          // by number
    std::vector<std::uint64_t> hashes_;           // by number
    std::vector<std::uint32_t> slots_;            // open addressing: key number + 1, 0 when empty
    std::vector<std::unique_ptr<char[]>> blocks_; // the keys that differ from their name
    char* blockFree_ = nullptr;
    std::size_t blockLeft_ = 0;
    std::size_t blockSize_ = 256;
    std::string lowered_; // the last name scanned, lower-cased, until it is known to be a new key
};

} // namespace morvane
