#pragma once

#include "BenchFolders.h"

#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace morvane::bench {

// A folder of `count` files named by `name(i)` with the bytes `bytes(i)`,
// made once and kept for later runs like photoFolder's.
inline std::string mediaFolder(const std::string& kind, std::size_t count,
                               const std::function<std::string(std::size_t)>& name,
                               const std::function<std::string(std::size_t)>& bytes) {
    namespace fs = std::filesystem;
    const fs::path folder = dataFolder() / (kind + "-" + std::to_string(count));
    if (fs::is_directory(folder)) {
        return folder.string();
    }
    const fs::path partial = dataFolder() / (kind + "-" + std::to_string(count) + ".partial-" +
                                             std::to_string(static_cast<long>(::getpid())));
    fs::remove_all(partial);
    fs::create_directories(partial);
    for (std::size_t i = 1; i <= count; ++i) {
        std::ofstream(partial / name(i), std::ios::binary) << bytes(i);
    }
    fs::rename(partial, folder);
    return folder.string();
}

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// `text` with its first `from` replaced by `to` (of the same length).
inline std::string patched(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos || from.size() != to.size()) {
        throw std::logic_error("nothing to patch: " + from);
    }
    return text.replace(at, from.size(), to);
}

// A camera's JPEG, as far as its metadata goes: EXIF with the capture date
// (a second apart from one photo to the next), its sub-seconds and offset,
// make, model and a thumbnail-sized block of other tags, written by Exiv2.
inline std::string jpegFolder(std::size_t count) {
    auto image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg);
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Canon";
    exif["Exif.Image.Model"] = "Canon EOS R5";
    exif["Exif.Photo.DateTimeOriginal"] = "2024:03:05 10:00:00";
    exif["Exif.Photo.SubSecTimeOriginal"] = "42";
    exif["Exif.Photo.OffsetTimeOriginal"] = "+01:00";
    exif["Exif.Photo.ExposureTime"] = "1/250";
    exif["Exif.Photo.FNumber"] = "28/10";
    exif["Exif.Photo.ISOSpeedRatings"] = "200";
    exif["Exif.Photo.FocalLength"] = "35/1";
    exif["Exif.Image.Software"] = "Firmware Version 1.8.1";
    exif["Exif.Image.Artist"] = "";
    exif["Exif.Image.Copyright"] = "";
    image->setExifData(exif);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.open();
    std::string jpeg(static_cast<std::size_t>(io.size()), '\0');
    io.read(reinterpret_cast<Exiv2::byte*>(jpeg.data()), static_cast<long>(jpeg.size()));
    io.close();
    // Pixels to read past: a JPEG's image data follows its metadata.
    jpeg += std::string(100'000, '\x55');
    return mediaFolder(
        "jpeg", count, [](std::size_t i) { return numberedName("IMG_", i); },
        [&](std::size_t i) {
            char when[20];
            std::snprintf(when, sizeof when, "2024:03:05 %02zu:%02zu:%02zu", 10 + i / 3600 % 10, i / 60 % 60,
                          i % 60);
            return patched(jpeg, "2024:03:05 10:00:00", when);
        });
}

// Tagged MP3s: an ID3v2 tag with artist, album, a title of its own, track
// and year, written by TagLib, before a few seconds of silent frames.
inline std::string songFolder(std::size_t count) {
    namespace fs = std::filesystem;
    const fs::path model = dataFolder() / "model.mp3";
    fs::create_directories(dataFolder());
    {
        std::string frame(417, '\0');
        frame[0] = '\xFF';
        frame[1] = '\xFB';
        frame[2] = '\x90';
        frame[3] = '\x44';
        std::ofstream out(model, std::ios::binary);
        for (int i = 0; i < 100; ++i) {
            out << frame;
        }
    }
    {
        TagLib::FileRef file(model.c_str(), false);
        TagLib::PropertyMap tags;
        tags.insert("ARTIST", TagLib::StringList("Nina Simone"));
        tags.insert("ALBUM", TagLib::StringList("Pastel Blues"));
        tags.insert("TITLE", TagLib::StringList("Song 00000"));
        tags.insert("TRACKNUMBER", TagLib::StringList("1"));
        tags.insert("DATE", TagLib::StringList("1965"));
        file.file()->setProperties(tags);
        file.save();
    }
    const std::string song = fileBytes(model);
    return mediaFolder(
        "mp3", count, [](std::size_t i) { return numberedName("track", i, ".mp3"); },
        [&](std::size_t i) { return patched(song, "Song 00000", numberedName("Song ", i, "")); });
}

} // namespace morvane::bench
