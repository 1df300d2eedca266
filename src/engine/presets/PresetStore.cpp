#include "engine/presets/PresetStore.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/NaturalOrder.h"
#include "engine/support/Unicode.h"
#include "engine/support/UserDataFolder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace morvane {
namespace {

namespace fs = std::filesystem;

std::string encode(const std::vector<char32_t>& codePoints, std::size_t from, std::size_t to) {
    std::string result;
    for (std::size_t i = from; i < to; ++i) {
        unicode::appendUtf8(result, codePoints[i]);
    }
    return result;
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::system_error(errno, std::generic_category(), path);
    }
    // Read one byte past the limit, so that an oversized file is refused
    // without reading all of it.
    std::string contents(Preset::maxFileBytes + 1, '\0');
    file.read(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (file.bad()) {
        throw std::system_error(EIO, std::generic_category(), path);
    }
    contents.resize(static_cast<std::size_t>(file.gcount()));
    return contents;
}

bool isPresetFile(const fs::path& path) {
    return path.extension() == "." + std::string(Preset::fileExtension);
}

} // namespace

std::string PresetStore::defaultDirectory() {
    return UserDataFolder::root() + "/Presets";
}

std::string PresetStore::fileNameFor(std::string_view name) {
    const std::vector<char32_t> characters =
        unicode::codePoints(unicode::withUnsafeNameCharactersReplaced(name));
    std::size_t begin = 0;
    std::size_t end = characters.size();
    while (begin < end && unicode::isHorizontalSpace(characters[begin])) {
        ++begin;
    }
    while (end > begin && unicode::isHorizontalSpace(characters[end - 1])) {
        --end;
    }
    while (begin < end && characters[begin] == U'.') {
        ++begin;
    }
    const std::string stem = begin == end ? std::string("Preset") : encode(characters, begin, end);
    return stem + "." + std::string(Preset::fileExtension);
}

std::string PresetStore::pathForName(std::string_view name) const {
    return (fs::path(directory) / fileNameFor(name)).string();
}

std::vector<Preset> PresetStore::load() const {
    std::vector<Preset> presets;
    if (!fs::exists(directory)) {
        return presets;
    }
    for (const auto& entry : fs::directory_iterator(directory)) {
        const fs::path& path = entry.path();
        if (!isPresetFile(path)) {
            continue;
        }
        try {
            presets.push_back(read(path.string()));
        } catch (const std::exception&) {
            // Someone else's file, a half-finished copy or a newer version's
            // preset: not ours to judge here, and never to be touched.
        }
    }
    NaturalOrder::sort(presets, [](const Preset& preset) -> const std::string& { return preset.name; });
    return presets;
}

void PresetStore::save(const Preset& preset) const {
    fs::create_directories(directory);
    const std::string path = pathForName(preset.name);
    AtomicFile::write(path, preset.data());
    removeOtherFilesOf(preset.name, path);
}

void PresetStore::remove(std::string_view name) const {
    removeFile(pathForName(name));
    removeOtherFilesOf(name, {});
}

void PresetStore::removeFile(const std::string& path) {
    std::error_code error;
    if (!fs::remove(path, error) && error && error != std::errc::no_such_file_or_directory) {
        throw fs::filesystem_error("cannot remove preset", path, error);
    }
}

// A preset file copied in by hand keeps the file name it came with, which
// need not be the one its preset's name maps to. Saving or removing that
// preset deals with such a copy too: otherwise a favourite mark would leave
// the preset listed twice, and a removal would leave it where it was.
void PresetStore::removeOtherFilesOf(std::string_view name, const std::string& kept) const {
    std::error_code error;
    fs::directory_iterator entries(directory, error);
    if (error) {
        return; // no folder: no copies
    }
    for (const auto& entry : entries) {
        const fs::path& path = entry.path();
        if (!isPresetFile(path) || path == fs::path(kept) || path == fs::path(pathForName(name))) {
            continue;
        }
        try {
            if (read(path.string()).name == name) {
                removeFile(path.string());
            }
        } catch (const std::exception&) {
            // Not a preset this version reads: never ours to touch.
        }
    }
}

bool PresetStore::contains(std::string_view name) const {
    std::error_code ignored;
    return fs::exists(pathForName(name), ignored);
}

void PresetStore::rename(const Preset& preset, const std::string& newName) const {
    Preset renamed = preset;
    renamed.name = newName;
    save(renamed);
    // On a volume that ignores letter case, "Trip" and "trip" name one file,
    // which now holds the renamed preset: it must stay.
    const std::string oldPath = pathForName(preset.name);
    const std::string newPath = pathForName(newName);
    std::error_code notTheSame;
    if (oldPath != newPath && !fs::equivalent(oldPath, newPath, notTheSame)) {
        removeFile(oldPath);
    }
    if (preset.name != newName) {
        removeOtherFilesOf(preset.name, newPath);
    }
}

Preset PresetStore::read(const std::string& path) {
    return Preset::decode(readWhole(path));
}

void PresetStore::write(const Preset& preset, const std::string& path) {
    AtomicFile::write(path, preset.data());
}

} // namespace morvane
