#include "engine/metadata/LibraryMetadataReader.h"

#include "engine/metadata/FileHead.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/MediaFiles.h"

#include <gtest/gtest.h>

#include <future>
#include <sys/stat.h>

namespace morvane {
namespace {

using testing::AudioFormat;
using testing::PhotoFormat;

const ItemDetails kPhoto{false, true, false};
const ItemDetails kAudio{false, false, true};
const ItemDetails kBoth{false, true, true};

CaptureDate at(int y, int mo, int d, int h, int mi, int s, int ms, std::optional<std::int32_t> offset) {
    return CaptureDate{*LocalDateTime::valid(y, mo, d, h, mi, s, ms), offset};
}

FileMetadata readFile(const std::string& path, const ItemDetails& wanted) {
    return LibraryMetadataReader().read(path, wanted);
}

TEST(LibraryMetadataReader, ReadsWhenPhotosWereTakenWithWhatAndTheirSize) {
    const testing::TempFolder folder;
    testing::writePhoto(folder / "exif.jpg", PhotoFormat::jpeg,
                        {{"Exif.Photo.DateTimeOriginal", "2024:03:05 10:11:12"},
                         {"Exif.Photo.SubSecTimeOriginal", "42"},
                         {"Exif.Photo.OffsetTimeOriginal", "+09:00"},
                         {"Exif.Image.Make", "Canon"},
                         {"Exif.Image.Model", "Canon EOS R5"},
                         // The XMP date is what editors write; the camera's own comes first.
                         {"Xmp.exif.DateTimeOriginal", "2020-01-01T00:00:00"}});
    FileMetadata read = readFile(folder / "exif.jpg", kPhoto);
    EXPECT_EQ(read.taken, at(2024, 3, 5, 10, 11, 12, 420, 540));
    EXPECT_EQ(read.camera(), "Canon EOS R5");
    // The image's own size, which the library's blank image has as 1 by 1.
    EXPECT_EQ(read.width, 1);
    EXPECT_EQ(read.height, 1);
    EXPECT_EQ(read.photoProblem, "");

    // Without EXIF's date, XMP's, and the camera from XMP too.
    testing::writePhoto(folder / "xmp.png", PhotoFormat::png,
                        {{"Xmp.photoshop.DateCreated", "2023-07-01T08:09:10"},
                         {"Xmp.tiff.Make", "Apple"},
                         {"Xmp.tiff.Model", "iPhone 12"}});
    read = readFile(folder / "xmp.png", kPhoto);
    EXPECT_EQ(read.taken, at(2023, 7, 1, 8, 9, 10, 0, std::nullopt));
    EXPECT_EQ(read.camera(), "Apple iPhone 12");
    EXPECT_EQ(read.width, 1);
}

std::string bigEndian32(std::uint32_t value) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    return bytes;
}

std::string box(const std::string& type, const std::string& body) {
    return bigEndian32(static_cast<std::uint32_t>(8 + body.size())) + type + body;
}

// A QuickTime movie as cameras write them: its creation time, in UTC, in the
// movie header, and the media data (left empty here) after it.
TEST(LibraryMetadataReader, ReadsWhenAVideoWasTakenFromItsMovieHeader) {
    const testing::TempFolder folder;
    const std::uint32_t created = 2'082'844'800U + 1'709'631'072U; // 2024-03-05 09:31:12 UTC
    const std::string header = std::string(4, '\0') + bigEndian32(created) + bigEndian32(created) +
                               bigEndian32(600) + bigEndian32(0) + std::string(80, '\0');
    testing::writeFile(folder / "clip.mov", box("ftyp", "qt  " + bigEndian32(0) + "qt  ") +
                                                box("moov", box("mvhd", header)) + box("mdat", ""));
    EXPECT_EQ(readFile(folder / "clip.mov", kPhoto).taken, at(2024, 3, 5, 9, 31, 12, 0, 0));
}

TEST(LibraryMetadataReader, ReadsTagsOfMusicFiles) {
    const testing::TempFolder folder;
    const testing::Tags tags{{"ARTIST", "AC/DC"}, {"ALBUM", "Back in Black"}, {"TITLE", "Hells Bells"},
                             {"GENRE", "Rock"},   {"TRACKNUMBER", "1/10"},    {"DISCNUMBER", "2/2"},
                             {"DATE", "1980"}};
    for (const auto& [format, name] :
         {std::pair{AudioFormat::mp3, "a.mp3"}, {AudioFormat::flac, "a.flac"}, {AudioFormat::wav, "a.wav"}}) {
        testing::writeAudio(folder / name, format, tags);
        const FileMetadata read = readFile(folder / name, kAudio);
        EXPECT_EQ(read.artist, "AC/DC") << name;
        EXPECT_EQ(read.album, "Back in Black") << name;
        EXPECT_EQ(read.title, "Hells Bells") << name;
        EXPECT_EQ(read.genre, "Rock") << name;
        EXPECT_EQ(read.track, 1) << name;
        EXPECT_EQ(read.disc, 2) << name;
        EXPECT_EQ(read.year, 1980) << name;
        EXPECT_EQ(read.audioProblem, "") << name;
    }
}

TEST(LibraryMetadataReader, ReadsOnlyWhatIsWantedAndOnlyWhereItIs) {
    const testing::TempFolder folder;
    testing::writePhoto(folder / "p.jpg", PhotoFormat::jpeg,
                        {{"Exif.Photo.DateTimeOriginal", "2024:03:05 10:11:12"}});
    testing::writeAudio(folder / "a.mp3", AudioFormat::mp3, {{"ARTIST", "Nina"}});
    testing::writeFile(folder / "notes.jpg", "only the name says photo");
    testing::writeFile(folder / "short.jpg", "jpg");
    testing::writePhoto(folder / "blank.jpg", PhotoFormat::jpeg, {});

    EXPECT_EQ(readFile(folder / "p.jpg", kAudio), FileMetadata{});
    EXPECT_EQ(readFile(folder / "a.mp3", kPhoto), FileMetadata{});
    EXPECT_EQ(readFile(folder / "a.mp3", kBoth).artist, "Nina");
    // Files that hold no such metadata are no problem, only empty.
    EXPECT_EQ(readFile(folder / "notes.jpg", kBoth), FileMetadata{});
    EXPECT_EQ(readFile(folder / "short.jpg", kBoth), FileMetadata{});
    EXPECT_EQ(readFile(folder / "blank.jpg", kBoth).taken, std::nullopt);
    EXPECT_EQ(readFile(folder / "blank.jpg", kBoth).photoProblem, "");
    EXPECT_EQ(readFile(folder.path(), kBoth), FileMetadata{});

    const FileMetadata missing = readFile(folder / "gone.jpg", kBoth);
    EXPECT_EQ(missing.photoProblem, "No such file or directory");
    EXPECT_EQ(missing.audioProblem, "No such file or directory");
}

TEST(LibraryMetadataReader, NeverWaitsForAPipe) {
    const testing::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return readFile(folder / "pipe.jpg", kBoth); });
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(reading.get(), FileMetadata{});
}

// Whatever a file claims about itself, reading it ends, with the damage
// named when the file was recognised.
TEST(LibraryMetadataReader, DamagedAndHostileFilesEndInAProblemNotACrash) {
    const testing::TempFolder folder;
    const std::string photo = testing::jpegBytes(
        {{"Exif.Photo.DateTimeOriginal", "2024:03:05 10:11:12"}, {"Exif.Image.Make", "Canon"}});
    const std::string app1 = "\xFF\xD8\xFF\xE1";
    const std::string tiffHeader = std::string("Exif\0\0II*\0\x08\0\0\0", 14);
    const struct {
        const char* name;
        std::string bytes;
        bool named; // whether the damage is reported rather than the file taken for no photo
    } cases[] = {
        // Cut inside the EXIF segment.
        {"truncated.jpg", photo.substr(0, 40), true},
        {"looks-like.jpg", "\xFF\xD8\xFF" + std::string(200, 'x'), false},
        // A segment claiming 64 KiB in a file of a few bytes.
        {"long-segment.jpg", app1 + "\xFF\xFF" + tiffHeader, true},
        // A directory of 65,535 entries pointing everywhere.
        {"wide-directory.jpg",
         app1 + "\x10\x00" + tiffHeader + "\xFF\xFF" + std::string(4070, '\xEE') + "\xFF\xD9", false},
        // A directory pointing at itself.
        {"loop.tif", std::string("II*\0\x08\0\0\0\x01\0\x69\x87\x04\0\x01\0\0\0\x08\0\0\0\0\0\0\0", 26),
         false},
        {"empty.jpg", "", false},
    };
    for (const auto& [name, bytes, named] : cases) {
        testing::writeFile(folder / name, bytes);
        const FileMetadata read = readFile(folder / name, kBoth);
        EXPECT_EQ(read.taken, std::nullopt) << name;
        if (named) {
            EXPECT_NE(read.photoProblem, "") << name;
        }
    }
}

} // namespace
} // namespace morvane
