#include "engine/filesystem/FileSystemError.h"

#include "engine/support/Localization.h"
#include "engine/support/Paths.h"

namespace morvane {

FileSystemError::FileSystemError(Kind kind, std::string payload) : kind_(kind), payload_(std::move(payload)) {
    whatText_ = message();
}

std::string FileSystemError::message() const {
    switch (kind_) {
    case Kind::notFound:
        return localized("\u201C%@\u201D no longer exists", Paths::lastComponent(payload_));
    case Kind::alreadyExists:
        return localized("\u201C%@\u201D already exists", Paths::lastComponent(payload_));
    case Kind::failed:
        return payload_;
    }
    return payload_;
}

} // namespace morvane
