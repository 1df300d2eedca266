#pragma once

#include "engine/core/ItemDetails.h"
#include "engine/metadata/FileMetadata.h"

#include <memory>
#include <string>

namespace morvane {

// Reads what rules use of a file's contents. The engine's own reader wraps
// the photo and audio libraries (see LibraryMetadataReader); tests script
// their own. Called from several threads at once.
class MetadataReader {
public:
    virtual ~MetadataReader() = default;

    // The photo metadata and/or tags of the file at `path`, as `wanted`
    // says (its fileDates part is none of a reader's business). Never
    // throws: whatever goes wrong ends up in the result's problem texts.
    virtual FileMetadata read(const std::string& path, const ItemDetails& wanted) const noexcept = 0;
};

} // namespace morvane
