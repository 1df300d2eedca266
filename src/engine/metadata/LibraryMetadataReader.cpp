#include "engine/metadata/LibraryMetadataReader.h"

#include "engine/filesystem/SystemErrorText.h"
#include "engine/metadata/AudioTags.h"
#include "engine/metadata/FileHead.h"
#include "engine/metadata/MovieHeader.h"
#include "engine/metadata/PhotoMetadata.h"

#include <cerrno>
#include <sys/stat.h>

namespace morvane {

FileMetadata LibraryMetadataReader::read(const std::string& path, const ItemDetails& wanted) const noexcept {
    FileMetadata result;
    if (wanted.photo) {
        try {
            if (const auto head = FileHead::read(path, result.photoProblem)) {
                PhotoMetadata::read(*head, result);
                // A video holds no EXIF; its movie header says when it was made.
                if (!result.taken && MovieHeader::looksLikeMovie(*head)) {
                    result.taken = MovieHeader::creationTime(path);
                }
            }
        } catch (const std::exception& error) { // no memory for the head
            result.photoProblem = error.what();
        }
    }
    if (wanted.audio) {
        // Only regular files: opening a pipe for reading would wait for a writer.
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            result.audioProblem = systemErrorText(errno);
        } else if (S_ISREG(status.st_mode)) {
            AudioTags::read(path, result);
        }
    }
    return result;
}

} // namespace morvane
