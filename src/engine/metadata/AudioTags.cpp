#include "engine/metadata/AudioTags.h"

#include "engine/metadata/MetadataText.h"
#include "engine/support/Localization.h"

#include <mutex>
#include <new>
#include <taglib/fileref.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>

namespace morvane::AudioTags {
namespace {

// The library writes notes about odd files to the terminal in some builds;
// what matters of them reaches the user as the item's message instead.
class Silence final : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void startLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        static Silence silence;
        TagLib::setDebugListener(&silence);
    });
}

std::string utf8(const TagLib::String& text) {
    return std::string(trimmedMetadataText(text.to8Bit(true)));
}

std::string property(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(key);
    return found == properties.end() || found->second.isEmpty() ? std::string() : utf8(found->second.front());
}

// "3", "3/12" or " 03 ": the number at the start; nothing without one, or for 0.
std::optional<std::int64_t> leadingNumber(const std::string& text) {
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || digits == 9) {
            break;
        }
        value = value * 10 + (c - '0');
        ++digits;
    }
    return value > 0 ? std::optional(value) : std::nullopt;
}

std::optional<std::int64_t> positive(unsigned int value) {
    return value > 0 ? std::optional<std::int64_t>(value) : std::nullopt;
}

void fill(const TagLib::FileRef& ref, FileMetadata& into) {
    if (ref.file() == nullptr) {
        return; // not a format the library knows
    }
    if (!ref.file()->isValid() || ref.tag() == nullptr) {
        into.audioProblem = localized("Its tags are damaged");
        return;
    }
    const TagLib::Tag& tag = *ref.tag();
    const TagLib::PropertyMap properties = ref.file()->properties();
    into.artist = utf8(tag.artist());
    if (into.artist.empty()) {
        into.artist = property(properties, "ALBUMARTIST");
    }
    into.album = utf8(tag.album());
    into.title = utf8(tag.title());
    into.genre = utf8(tag.genre());
    into.track = positive(tag.track());
    into.disc = leadingNumber(property(properties, "DISCNUMBER"));
    into.year = positive(tag.year());
}

template <typename Read>
void guarded(FileMetadata& into, Read read) noexcept {
    try {
        startLibrary();
        read();
    } catch (const std::bad_alloc&) {
        into.audioProblem = localized("Its metadata is too large");
    } catch (const std::exception& error) {
        into.audioProblem = error.what();
    } catch (...) {
        into.audioProblem = localized("Its tags are damaged");
    }
}

} // namespace

void read(const std::string& path, FileMetadata& into) noexcept {
    guarded(into, [&] {
        // The audio properties (length, bit rate) would cost a look at the
        // audio data, and no rule uses them.
        const TagLib::FileRef ref(path.c_str(), false);
        fill(ref, into);
    });
}

void readBytes(std::string_view data, FileMetadata& into) noexcept {
    guarded(into, [&] {
        const TagLib::ByteVector bytes(data.data(), static_cast<unsigned int>(data.size()));
        TagLib::ByteVectorStream stream(bytes);
        const TagLib::FileRef ref(&stream, false);
        fill(ref, into);
    });
}

} // namespace morvane::AudioTags
