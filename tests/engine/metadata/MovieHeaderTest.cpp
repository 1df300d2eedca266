#include "engine/metadata/MovieHeader.h"

#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace morvane {
namespace {

std::string bigEndian(std::uint64_t value, int bytes) {
    std::string text;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        text += static_cast<char>((value >> shift) & 0xFF);
    }
    return text;
}

std::string box(const std::string& type, const std::string& body) {
    return bigEndian(8 + body.size(), 4) + type + body;
}

constexpr std::uint64_t k1904 = 2'082'844'800;
const CaptureDate kMarch5{*LocalDateTime::valid(2024, 3, 5, 9, 31, 12), 0};
const std::uint64_t kMarch5Seconds = k1904 + 1'709'631'072;

std::string movieHeader(int version, std::uint64_t created) {
    return box("mvhd", std::string(1, static_cast<char>(version)) + std::string(3, '\0') +
                           bigEndian(created, version == 1 ? 8 : 4) + std::string(96, '\0'));
}

std::optional<CaptureDate> createdIn(const std::string& bytes) {
    return MovieHeader::creationTime(bytes.size(), [&](std::uint64_t offset, std::size_t length) {
        return offset >= bytes.size() ? std::string() : bytes.substr(offset, length);
    });
}

TEST(MovieHeader, FindsTheCreationTimeWhereverTheMovieBoxIs) {
    const std::string ftyp = box("ftyp", "isom" + bigEndian(0, 4) + "isommp42");
    const std::string moov = box("moov", box("udta", "xyz") + movieHeader(0, kMarch5Seconds));
    EXPECT_EQ(createdIn(ftyp + moov + box("mdat", "data")), kMarch5);
    // Media data first, as cameras write it; a 64-bit size; a version 1 header.
    const std::string largeMdat = bigEndian(1, 4) + "mdat" + bigEndian(16 + 5, 8) + "frame";
    EXPECT_EQ(createdIn(ftyp + largeMdat + box("moov", movieHeader(1, kMarch5Seconds))), kMarch5);
    // A box "to the end" is the last.
    EXPECT_EQ(createdIn(ftyp + bigEndian(0, 4) + "moov" + movieHeader(0, kMarch5Seconds)), kMarch5);
    EXPECT_TRUE(MovieHeader::looksLikeMovie(ftyp));
    EXPECT_FALSE(MovieHeader::looksLikeMovie("\xFF\xD8\xFF\xE0 JFIF"));
}

TEST(MovieHeader, BoxesThatDoNotAddUpGiveNothing) {
    const std::string ftyp = box("ftyp", "qt  ");
    const std::string cases[] = {
        ftyp + box("moov", movieHeader(0, 0)),                               // never set
        ftyp + box("moov", movieHeader(7, kMarch5Seconds)),                  // unknown version
        ftyp + bigEndian(4, 4) + "moov" + movieHeader(0, kMarch5Seconds),    // smaller than its header
        ftyp + bigEndian(1000, 4) + "moov" + movieHeader(0, kMarch5Seconds), // past the end
        ftyp + box("moov", bigEndian(3, 4) + "mvhd"),                        // a broken box inside
        ftyp + box("mdat", "x"),                                             // no movie box
        std::string(),
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(createdIn(bytes), std::nullopt) << bytes.size();
    }
    // Too many boxes before the movie box: it is not looked for that far.
    std::string many = ftyp;
    for (int i = 0; i < MovieHeader::maxBoxes; ++i) {
        many += box("free", "");
    }
    EXPECT_EQ(createdIn(many + box("moov", movieHeader(0, kMarch5Seconds))), std::nullopt);
}

TEST(MovieHeader, ReadsOnlyBoxHeadersAndTheMovieBoxOfAFile) {
    const testing::TempFolder folder;
    // A gigabyte of media data (sparse on disk) before the movie box.
    const std::string path = folder / "clip.mp4";
    testing::writeFile(path,
                       box("ftyp", "isom") + bigEndian(1, 4) + "mdat" + bigEndian(16 + (1ULL << 30), 8));
    std::filesystem::resize_file(path, 8 + 4 + 16 + (1ULL << 30));
    { std::ofstream(path, std::ios::app | std::ios::binary) << box("moov", movieHeader(0, kMarch5Seconds)); }
    EXPECT_EQ(MovieHeader::creationTime(path), kMarch5);
    EXPECT_EQ(MovieHeader::creationTime(folder.path()), std::nullopt);
}

} // namespace
} // namespace morvane
