#include "engine/metadata/PhotoMetadata.h"

#include "engine/metadata/CaptureDateText.h"
#include "engine/metadata/MetadataText.h"
#include "engine/support/Localization.h"

#include <algorithm>
#include <exiv2/bmffimage.hpp>
#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <iterator>
#include <mutex>
#include <new>

namespace morvane::PhotoMetadata {
namespace {

// The first number of a metadatum (the library's 0.28 renamed the call).
std::int64_t firstNumber(const Exiv2::Metadatum& datum) {
#if EXIV2_TEST_VERSION(0, 28, 0)
    return datum.toInt64(0);
#else
    return datum.toLong(0);
#endif
}

std::mutex xmpToolkitLock;

void lockXmpToolkit(void*, bool lock) {
    if (lock) {
        xmpToolkitLock.lock();
    } else {
        xmpToolkitLock.unlock();
    }
}

// Once per process, before any thread reads: the library's XMP toolkit is
// not safe to start from several threads, and is used by several only
// through the lock it is given here. The library's own messages about
// damaged files would only clutter the terminal; its errors say the same.
void startLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        Exiv2::XmpParser::initialize(&lockXmpToolkit, nullptr);
        Exiv2::enableBMFF(true); // HEIF, AVIF and the newer raw formats
    });
}

template <typename Data, typename Key>
std::string text(const Data& data, const char* key) {
    const auto found = data.findKey(Key(key));
    return found == data.end() ? std::string() : std::string(trimmedMetadataText(found->toString()));
}

std::string exifText(const Exiv2::ExifData& exif, const char* key) {
    return text<Exiv2::ExifData, Exiv2::ExifKey>(exif, key);
}

std::string xmpText(const Exiv2::XmpData& xmp, const char* key) {
    return text<Exiv2::XmpData, Exiv2::XmpKey>(xmp, key);
}

std::optional<std::int64_t> exifNumber(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found == exif.end() || found->count() == 0) {
        return std::nullopt;
    }
    const std::int64_t value = firstNumber(*found);
    return value > 0 ? std::optional<std::int64_t>(value) : std::nullopt;
}

// EXIF's original date first, as the camera wrote it when the shutter
// closed; then XMP's, which editors and phones write instead.
std::optional<CaptureDate> captureDate(const Exiv2::Image& image) {
    const Exiv2::ExifData& exif = image.exifData();
    if (auto date = CaptureDateText::fromExif(exifText(exif, "Exif.Photo.DateTimeOriginal"),
                                              exifText(exif, "Exif.Photo.SubSecTimeOriginal"),
                                              exifText(exif, "Exif.Photo.OffsetTimeOriginal"))) {
        return date;
    }
    const Exiv2::XmpData& xmp = image.xmpData();
    for (const char* key : {"Xmp.exif.DateTimeOriginal", "Xmp.photoshop.DateCreated", "Xmp.xmp.CreateDate"}) {
        if (auto date = CaptureDateText::fromXmp(xmpText(xmp, key))) {
            return date;
        }
    }
    return std::nullopt;
}

// Whether the library is to read `bytes`: photo formats only. Bytes of no
// format it knows are no damaged photo, just no photo; some of its format
// checks throw on files too short for them (a few bytes of text), which says
// the same. Its video readers (QuickTime, AVI, Matroska, ASF) are left out:
// they can loop forever on damaged files, and a video's creation time is
// read by MovieHeader instead.
bool isPhotoFormat(const Exiv2::byte* bytes, long size) {
    using namespace Exiv2::ImageType;
    static constexpr int photos[] = {jpeg, exv, tiff, crw, mrw, png,  cr2,
                                     raf,  orf, psd,  jp2, rw2, bmff, webp};
    try {
        const int type = Exiv2::ImageFactory::getType(bytes, size);
        return std::find(std::begin(photos), std::end(photos), type) != std::end(photos);
    } catch (const Exiv2::Error&) {
        return false;
    }
}

void fill(const Exiv2::Image& image, FileMetadata& into) {
    const Exiv2::ExifData& exif = image.exifData();
    into.taken = captureDate(image);
    into.make = exifText(exif, "Exif.Image.Make");
    into.model = exifText(exif, "Exif.Image.Model");
    if (into.make.empty() && into.model.empty()) {
        into.make = xmpText(image.xmpData(), "Xmp.tiff.Make");
        into.model = xmpText(image.xmpData(), "Xmp.tiff.Model");
    }
    const int width = image.pixelWidth();
    const int height = image.pixelHeight();
    into.width =
        width > 0 ? std::optional<std::int64_t>(width) : exifNumber(exif, "Exif.Photo.PixelXDimension");
    into.height =
        height > 0 ? std::optional<std::int64_t>(height) : exifNumber(exif, "Exif.Photo.PixelYDimension");
}

} // namespace

void read(std::string_view data, FileMetadata& into) noexcept {
    try {
        startLibrary();
        const auto* bytes = reinterpret_cast<const Exiv2::byte*>(data.data());
        const auto size = static_cast<long>(data.size());
        if (!isPhotoFormat(bytes, size)) {
            return;
        }
        const auto image = Exiv2::ImageFactory::open(bytes, size);
        try {
            image->readMetadata();
        } catch (...) {
            // What was read before the damage still counts.
            fill(*image, into);
            throw;
        }
        fill(*image, into);
    } catch (const Exiv2::Error& error) {
        into.photoProblem = error.what();
    } catch (const std::bad_alloc&) {
        into.photoProblem = localized("Its metadata is too large");
    } catch (const std::exception& error) {
        into.photoProblem = error.what();
    } catch (...) {
        into.photoProblem = localized("Its metadata is damaged");
    }
}

} // namespace morvane::PhotoMetadata
