#include "engine/metadata/MetadataCache.h"

#include "engine/testing/Items.h"
#include "engine/testing/ScriptedMetadata.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

const ItemDetails kPhoto{false, true, false};
const ItemDetails kAudio{false, false, true};

using testing::ScriptedMetadataReader;

// A reader that knows a.jpg to d.jpg, each with its path as the camera's
// model and as the album, and the photos p0.jpg, p1.jpg… up to `count`.
std::shared_ptr<ScriptedMetadataReader> scripted(std::size_t count = 1500) {
    auto reader = std::make_shared<ScriptedMetadataReader>();
    for (const char* name : {"a", "b", "c", "d"}) {
        const std::string path = "/d/" + std::string(name) + ".jpg";
        reader->files[path].model = path;
        reader->files[path].album = path;
    }
    for (std::size_t i = 0; i < count; ++i) {
        reader->files["/d/p" + std::to_string(i) + ".jpg"].model = "p";
    }
    return reader;
}

std::vector<FileItem> photos(std::size_t count) {
    std::vector<FileItem> list;
    for (std::size_t i = 0; i < count; ++i) {
        list.push_back(testing::item("p" + std::to_string(i) + ".jpg"));
    }
    return list;
}

TEST(MetadataCache, ReadsEachIncludedFileOnceAsLongAsItStaysTheSame) {
    auto reader = scripted();
    MetadataCache cache(reader, 2);
    auto list = testing::items({"a.jpg", "b.jpg", "c.jpg", "sub"});
    list[1].isIncluded = false;
    list[3].isDirectory = true;

    EXPECT_TRUE(cache.read(list, kPhoto));
    EXPECT_EQ(reader->asked(), (std::vector<std::string>{"/d/a.jpg photo", "/d/c.jpg photo"}));
    EXPECT_EQ(cache.find(list[0])->model, "/d/a.jpg");
    EXPECT_EQ(cache.find(list[1]), nullptr);

    // Nothing new to read; then only what changed, and only what is not yet known.
    reader->forget();
    EXPECT_TRUE(cache.read(list, kPhoto));
    EXPECT_TRUE(cache.read(list, ItemDetails{true, false, false}));
    EXPECT_EQ(reader->asked(), std::vector<std::string>{});
    list[0].size = 10;
    list[2].modified += std::chrono::seconds(1);
    EXPECT_TRUE(cache.read(list, kPhoto | kAudio));
    EXPECT_TRUE(cache.read(list, kAudio));
    EXPECT_EQ(reader->asked(), (std::vector<std::string>{"/d/a.jpg photo audio", "/d/c.jpg photo audio"}));

    // Tags read later join the photo metadata read before.
    auto more = testing::items({"d.jpg"});
    EXPECT_TRUE(cache.read(more, kPhoto));
    EXPECT_TRUE(cache.read(more, kAudio | kPhoto));
    const auto both = cache.find(more[0]);
    EXPECT_EQ(both->model, "/d/d.jpg");
    EXPECT_EQ(both->album, "/d/d.jpg");
    EXPECT_EQ(cache.readCount(), 6U);
}

TEST(MetadataCache, AStopEndsReadingAndTheRestIsReadNextTime) {
    auto reader = scripted();
    std::stop_source stop;
    reader->duringRead = [&] { stop.request_stop(); };
    MetadataCache cache(reader, 4);
    const auto list = photos(200);
    EXPECT_FALSE(cache.read(list, kPhoto, stop.get_token()));
    // At most the one file each reading thread had begun.
    EXPECT_LE(reader->asked().size(), 4U);
    reader->duringRead = nullptr;
    EXPECT_TRUE(cache.read(list, kPhoto));
    EXPECT_EQ(reader->asked().size(), 200U);
}

TEST(MetadataCache, LetsGoOfFilesNoLongerShownOnceTheyOutnumberTheShownOnes) {
    auto reader = scripted();
    MetadataCache cache(reader);
    const auto many = photos(1500);
    EXPECT_TRUE(cache.read(many, kPhoto));
    const std::vector<FileItem> few(many.begin(), many.begin() + 3);
    EXPECT_TRUE(cache.read(few, kPhoto));
    EXPECT_EQ(cache.size(), 3U);
    EXPECT_NE(cache.find(few[2]), nullptr);
    // Below that, another folder's files stay for when it is opened again.
    EXPECT_TRUE(cache.read(many, kPhoto));
    EXPECT_TRUE(cache.read(photos(1000), kPhoto));
    EXPECT_EQ(cache.size(), 1500U);
}

} // namespace
} // namespace morvane
