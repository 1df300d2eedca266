#pragma once

#include "engine/presets/Preset.h"

#include <string>
#include <string_view>

namespace morvane::app {

// A preset as a document of its own, for import and export: one preset per
// file, in the same format as the preset folder's files.
struct PresetDocument {
    // The document type as the desktop knows it (its MIME type); the files
    // are JSON, and the import also takes files of that type.
    static constexpr std::string_view mimeType = "application/x-morvane-preset";
    static constexpr std::string_view fileExtension = Preset::fileExtension;

    Preset preset;

    // Throws what reading and decoding a preset file throw.
    static PresetDocument read(const std::string& path);
    // Replaces the file at `path` atomically; throws the file system's errors.
    void write(const std::string& path) const;
};

} // namespace morvane::app
