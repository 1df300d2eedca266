#include "engine/metadata/FileHead.h"

#include "engine/testing/DiskFixtures.h"
#include "engine/testing/MediaFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

std::string segment(char marker, std::size_t payload) {
    std::string bytes{'\xFF', marker};
    bytes += static_cast<char>((payload + 2) >> 8);
    bytes += static_cast<char>((payload + 2) & 0xFF);
    return bytes + std::string(payload, 'm');
}

TEST(FileHead, AJpegsMetadataEndsWhereItsImageDataBegins) {
    const std::string start = "\xFF\xD8";
    const std::string scan = segment('\xDA', 10);
    const struct {
        std::string bytes;
        std::optional<std::size_t> expected;
    } cases[] = {
        {start + segment('\xE1', 100) + segment('\xDB', 5) + scan, 2 + 104 + 9 + 4},
        // Fill bytes, stray bytes and markers without a length are passed over.
        {start + "\xFF\xFF" + segment('\xE0', 3) + "junk" + "\xFF\xD0" + scan, 2 + 2 + 7 + 4 + 2 + 4},
        {start + "\xFF\xD9", 4},
        // A segment that runs past the bytes at hand says how far to read.
        {start + segment('\xE1', 60000).substr(0, 100), 2 + 60004},
        {start + "\xFF", 4},
        {"GIF89a", std::nullopt},
        {"\xFF\xD8", std::nullopt},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(FileHead::jpegMetadataLength(bytes), expected) << bytes.size();
    }
}

TEST(FileHead, ReadsAsMuchAsTheMetadataNeedsAndNoMoreThanTheBound) {
    const testing::TempFolder folder;
    std::string problem;
    // A JPEG: up to its image data, however large the image.
    const std::string photo = testing::jpegBytes({{"Exif.Image.Make", "Canon"}});
    const std::size_t metadata = *FileHead::jpegMetadataLength(photo);
    testing::writeFile(folder / "photo.jpg", photo + std::string(3 * FileHead::firstRead, '\x55'));
    EXPECT_EQ(FileHead::read(folder / "photo.jpg", problem), photo.substr(0, metadata));

    // A JPEG whose segments go on past the first read is followed into the next.
    const std::string longer = "\xFF\xD8" + segment('\xE1', 65000) + segment('\xE2', 65000) +
                               segment('\xE2', 65000) + segment('\xE2', 65000) + segment('\xE2', 65000) +
                               segment('\xDA', 4);
    ASSERT_GT(longer.size(), FileHead::firstRead);
    testing::writeFile(folder / "long.jpg", longer + std::string(1000, '\x55'));
    EXPECT_EQ(FileHead::read(folder / "long.jpg", problem)->size(), longer.size() - 4);

    // Anything else: the whole file up to the bound.
    testing::writeFile(folder / "small.png", "\x89PNG small");
    EXPECT_EQ(FileHead::read(folder / "small.png", problem), "\x89PNG small");
    testing::writeFile(folder / "huge.tif", "II*");
    std::filesystem::resize_file(folder / "huge.tif", FileHead::maxOther + 4096);
    EXPECT_EQ(FileHead::read(folder / "huge.tif", problem)->size(), FileHead::maxOther);
    EXPECT_EQ(problem, "");

    EXPECT_EQ(FileHead::read(folder / "none.jpg", problem), std::nullopt);
    EXPECT_EQ(problem, "No such file or directory");
}

} // namespace
} // namespace morvane
