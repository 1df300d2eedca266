// Photos and music files come from anywhere: whatever their bytes, reading
// their metadata must end in values or a problem text, never a crash, a hang
// or a leak, and what is read must be usable by the rules.
#include "engine/metadata/AudioTags.h"
#include "engine/metadata/MovieHeader.h"
#include "engine/metadata/PhotoMetadata.h"
#include "engine/support/Unicode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FileMetadata read;
    PhotoMetadata::read(bytes, read);
    AudioTags::readBytes(bytes, read);
    const auto created = MovieHeader::creationTime(size, [&](std::uint64_t offset, std::size_t length) {
        return offset >= size ? std::string() : std::string(bytes.substr(offset, length));
    });
    if (!read.taken) {
        read.taken = created;
    }
    // Everything read ends up in names: texts must be whole UTF-8 once made
    // safe, and a capture date a real moment.
    for (const std::string* text :
         {&read.make, &read.model, &read.artist, &read.album, &read.title, &read.genre}) {
        if (!unicode::isValidUtf8(unicode::withUnsafeNameCharactersReplaced(*text))) {
            __builtin_trap();
        }
    }
    (void)read.camera();
    if (read.taken) {
        (void)read.taken->instant("UTC");
    }
    return 0;
}
