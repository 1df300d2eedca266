#pragma once

#include "engine/presets/Preset.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The folder of the user's presets, one file per preset. It keeps no cache:
// every call goes to the folder, so several windows (or processes) see each
// other's changes. Errors of the file system are thrown as they come.
class PresetStore {
public:
    std::string directory;

    explicit PresetStore(std::string directory_) : directory(std::move(directory_)) {}

    // The per-user data folder + "/Presets". Creates nothing: `save` does.
    static std::string defaultDirectory();

    // The file a preset of this name is stored in (see fileNameFor).
    std::string pathForName(std::string_view name) const;
    // "/", ":", "\" and control or format characters become "-", spaces and
    // tabs are trimmed, leading dots dropped; "Preset" when nothing is left.
    static std::string fileNameFor(std::string_view name);

    // Every readable preset of the folder, in the natural order of their
    // names. Unreadable or newer files are left out (and left alone); only a
    // folder that exists but cannot be listed throws.
    std::vector<Preset> load() const;
    // Writes the file the name maps to; any other file of the folder that
    // holds a preset of exactly this name (a copy put there by hand) goes.
    void save(const Preset& preset) const;
    // The file the name maps to, and any other that holds a preset of
    // exactly this name. A missing file is not an error.
    void remove(std::string_view name) const;
    bool contains(std::string_view name) const;
    // Saves under the new name first, then removes the old file if it is
    // another one (not the same file under a name that differs in letter
    // case only); nothing is removed when saving fails.
    void rename(const Preset& preset, const std::string& newName) const;

    // Import and export of single files anywhere.
    static Preset read(const std::string& path);
    static void write(const Preset& preset, const std::string& path);

private:
    static void removeFile(const std::string& path);
    void removeOtherFilesOf(std::string_view name, const std::string& kept) const;
};

} // namespace morvane
