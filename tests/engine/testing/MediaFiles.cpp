#include "engine/testing/MediaFiles.h"

#include "engine/testing/DiskFixtures.h"

#include <cstdint>
#include <exiv2/exiv2.hpp>
#include <stdexcept>
#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace morvane::testing {
namespace {

// Three silent MPEG-1 layer III frames, 128 kbit/s at 44.1 kHz: enough for
// the library to take the bytes for an MP3.
std::string mp3Bytes() {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x44';
    return frame + frame + frame;
}

// The FLAC signature and a stream-info block: 44.1 kHz, stereo, 16 bits.
std::string flacBytes() {
    std::string bytes = "fLaC";
    bytes += std::string("\x80\x00\x00\x22", 4); // last block, stream info, 34 bytes
    bytes += std::string("\x10\x00\x10\x00", 4); // block sizes 4096
    bytes += std::string(6, '\0');               // frame sizes unknown
    const std::uint64_t packed =
        (std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) | (std::uint64_t{15} << 36);
    for (int shift = 56; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((packed >> shift) & 0xFF);
    }
    bytes += std::string(16, '\0'); // no MD5
    return bytes;
}

std::string littleEndian32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// One second of 8-bit mono silence at 8 kHz.
std::string wavBytes() {
    const std::string format = std::string("\x01\x00\x01\x00", 4) + littleEndian32(8000) +
                               littleEndian32(8000) + std::string("\x01\x00\x08\x00", 4);
    const std::string samples(8000, '\x80');
    const std::string body = "WAVE" + std::string("fmt ") + littleEndian32(16) + format + "data" +
                             littleEndian32(static_cast<std::uint32_t>(samples.size())) + samples;
    return "RIFF" + littleEndian32(static_cast<std::uint32_t>(body.size())) + body;
}

} // namespace

namespace {

// The library's blank image of `format` in memory, with `fields` written into it.
std::string photoBytes(PhotoFormat format, const PhotoFields& fields) {
    auto image = Exiv2::ImageFactory::create(format == PhotoFormat::jpeg ? Exiv2::ImageType::jpeg
                                                                         : Exiv2::ImageType::png);
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    for (const auto& [key, value] : fields) {
        if (key.starts_with("Exif.")) {
            exif[key] = value;
        } else {
            xmp[key] = value;
        }
    }
    image->setExifData(exif);
    image->setXmpData(xmp);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.open();
    std::string bytes(static_cast<std::size_t>(io.size()), '\0');
    io.read(reinterpret_cast<Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
    io.close();
    return bytes;
}

} // namespace

void writePhoto(const std::string& path, PhotoFormat format, const PhotoFields& fields) {
    writeFile(path, photoBytes(format, fields));
}

std::string jpegBytes(const PhotoFields& fields) {
    return photoBytes(PhotoFormat::jpeg, fields);
}

void writeAudio(const std::string& path, AudioFormat format, const Tags& tags) {
    writeFile(path, format == AudioFormat::mp3    ? mp3Bytes()
                    : format == AudioFormat::flac ? flacBytes()
                                                  : wavBytes());
    TagLib::FileRef file(path.c_str(), false);
    if (file.isNull()) {
        throw std::runtime_error("the audio library does not take the bytes for a file: " + path);
    }
    TagLib::PropertyMap properties;
    for (const auto& [key, value] : tags) {
        properties.insert(key, TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
    }
    file.file()->setProperties(properties);
    if (!file.save()) {
        throw std::runtime_error("the audio library could not write the tags of " + path);
    }
}

} // namespace morvane::testing
