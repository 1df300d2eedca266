#include "app/model/PresetDocument.h"

#include "engine/presets/PresetStore.h"

namespace morvane::app {

PresetDocument PresetDocument::read(const std::string& path) {
    return {PresetStore::read(path)};
}

void PresetDocument::write(const std::string& path) const {
    PresetStore::write(preset, path);
}

} // namespace morvane::app
