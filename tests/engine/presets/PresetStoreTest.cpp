#include "engine/presets/PresetStore.h"

#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"
#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

using testing::TempFolder;
using testing::writeFile;

std::string presetText(const std::string& name, int format = 1) {
    return R"({"name":")" + name + R"(","format":)" + std::to_string(format) + R"(,"rules":[]})";
}

std::vector<std::string> names(const std::vector<Preset>& presets) {
    std::vector<std::string> result;
    for (const auto& preset : presets) {
        result.push_back(preset.name);
    }
    return result;
}

TEST(PresetStore, CleansNamesIntoFileNames) {
    struct Case {
        const char* name;
        const char* file;
    };
    const Case cases[] = {
        {"  ..My/Set  ", "My-Set.morvanepreset"},
        {"...", "Preset.morvanepreset"},
        {"", "Preset.morvanepreset"},
        {"a:b\\c", "a-b-c.morvanepreset"},
        {"tab\there\u200Bzero-width", "tab-here-zero-width.morvanepreset"},
        {"\u3000. Trip\u00a0", " Trip.morvanepreset"}, // uncovered spaces stay
        {"Caf\u00e9 2024", "Caf\u00e9 2024.morvanepreset"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PresetStore::fileNameFor(c.name), c.file) << c.name;
    }
}

TEST(PresetStore, LoadsOnlyReadablePresetFilesInNaturalOrder) {
    TempFolder folder;
    writeFile(folder / "z.morvanepreset", presetText("Item 10"));
    writeFile(folder / "y.morvanepreset", presetText("item 2"));
    writeFile(folder / "A.morvanepreset", presetText("A"));
    writeFile(folder / "b.morvanepreset", presetText("b"));
    writeFile(folder / "c.txt", presetText("c"));
    writeFile(folder / "d.MORVANEPRESET", presetText("d"));
    writeFile(folder / "newer.morvanepreset", presetText("newer", 2));
    writeFile(folder / "broken.morvanepreset", "{");
    std::filesystem::create_directory(folder / "dir.morvanepreset");

    const PresetStore store(folder.path());
    EXPECT_EQ(names(store.load()), (std::vector<std::string>{"A", "b", "item 2", "Item 10"}));
    // Nothing it could not read was changed or removed.
    EXPECT_EQ(testing::readFile(folder / "broken.morvanepreset"), "{");
    EXPECT_TRUE(PresetStore(folder / "missing").load().empty());
    try {
        PresetStore::read(folder / "newer.morvanepreset");
        FAIL() << "a newer preset was read";
    } catch (const PresetError& error) {
        EXPECT_EQ(error.format(), 2);
    }
}

TEST(PresetStore, SavesRenamesAndRemoves) {
    TempFolder folder;
    const PresetStore store(folder / "Morvane/Presets");
    store.save(Preset("Trip", {}));
    EXPECT_TRUE(store.contains("Trip"));

    store.rename(store.load().front(), "Trip 2");
    EXPECT_FALSE(store.contains("Trip"));
    EXPECT_EQ(names(store.load()), std::vector<std::string>{"Trip 2"});

    // Same file location: one file, holding the new name.
    store.save(Preset("Trip/", {}));
    store.rename(Preset("Trip/", {}), "Trip-");
    EXPECT_EQ(names(store.load()), (std::vector<std::string>{"Trip 2", "Trip-"}));

    store.remove("Trip 2");
    store.remove("never saved");
    EXPECT_EQ(names(store.load()), std::vector<std::string>{"Trip-"});
}

// The longest names a folder takes: 255 bytes with the extension.
TEST(PresetStore, SavesAndExportsPresetsWithTheLongestNames) {
    TempFolder dir;
    const PresetStore store(dir / "Presets");
    std::string name;
    while (name.size() + 3 <= 255 - std::string(".morvanepreset").size()) {
        name += "\u65C5"; // three bytes
    }
    const Preset preset(name, {});
    store.save(preset);
    EXPECT_EQ(store.load(), std::vector<Preset>{preset});
    const std::string exported = dir / (std::string(250, 'x') + ".json");
    PresetStore::write(preset, exported);
    EXPECT_EQ(PresetStore::read(exported), preset);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // no leftovers
}

TEST(PresetStore, RefusesFilesTooLargeOrMissing) {
    TempFolder folder;
    writeFile(folder / "huge.morvanepreset", std::string(Preset::maxFileBytes + 10, ' '));
    EXPECT_THROW(PresetStore::read(folder / "huge.morvanepreset"), DecodingError);
    EXPECT_THROW(PresetStore::read(folder / "absent.morvanepreset"), std::system_error);
}

} // namespace
} // namespace morvane
