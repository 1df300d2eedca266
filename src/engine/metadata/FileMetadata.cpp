#include "engine/metadata/FileMetadata.h"

#include "engine/support/DateFormatting.h"
#include "engine/support/Unicode.h"

namespace morvane {
namespace {

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

Date CaptureDate::instant(const std::optional<std::string>& zone) const {
    if (utcOffsetMinutes) {
        const std::int64_t millis = local.millisecondsAsUtc() - std::int64_t{*utcOffsetMinutes} * 60'000;
        return Date(std::chrono::milliseconds(millis));
    }
    return DateFormatting::instant(local, zone);
}

std::string FileMetadata::camera() const {
    if (make.empty() || model.empty()) {
        return model.empty() ? make : model;
    }
    // Makers mostly repeat their name, or its first word, at the start of
    // the model ("LG Electronics", "LG-H870"); the company name adds nothing
    // then. A word that merely begins the same way ("Leica", "Leicaflex") is
    // another word.
    const std::string maker = unicode::fold(make.substr(0, make.find(' ')));
    const std::string folded = unicode::fold(model);
    if (folded.starts_with(maker) &&
        (folded.size() == maker.size() || !isAsciiLetterOrDigit(folded[maker.size()]))) {
        return model;
    }
    return make + " " + model;
}

} // namespace morvane
