#pragma once

namespace morvane {

// What rules read of an item besides its name, kind and folder, each of which
// costs something per file to find out: the dates and size a stat call
// gives, a photo's own metadata (capture date, camera, pixel size), and a
// music file's tags. Front ends fetch only what an enabled rule asks for.
struct ItemDetails {
    bool fileDates = false; // modification and creation dates, size
    bool photo = false;     // the image's (or video's) embedded metadata
    bool audio = false;     // the audio file's tags

    // Anything held in the files' contents rather than the folder's listing.
    bool contents() const { return photo || audio; }
    bool any() const { return fileDates || contents(); }

    ItemDetails operator|(const ItemDetails& other) const {
        return {fileDates || other.fileDates, photo || other.photo, audio || other.audio};
    }
    ItemDetails& operator|=(const ItemDetails& other) { return *this = *this | other; }
    // Whether everything `other` asks for is here.
    bool covers(const ItemDetails& other) const {
        return (fileDates || !other.fileDates) && (photo || !other.photo) && (audio || !other.audio);
    }
    bool operator==(const ItemDetails&) const = default;
};

} // namespace morvane
