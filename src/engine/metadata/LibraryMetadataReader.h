#pragma once

#include "engine/metadata/MetadataReader.h"

namespace morvane {

// The engine's reader: photo metadata with Exiv2 from the file's bounded
// first bytes, a video's creation time from its movie header, tags with TagLib.
class LibraryMetadataReader final : public MetadataReader {
public:
    FileMetadata read(const std::string& path, const ItemDetails& wanted) const noexcept override;
};

} // namespace morvane
