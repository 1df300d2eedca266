#include "app/desktop/tools/SamplePhoto.h"

#include <QFile>
#include <exiv2/exiv2.hpp>

namespace morvane::app {

bool writeSamplePhoto(const QString& path, const char* make, const char* model, const char* taken,
                      std::size_t size) {
    try {
        auto image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg);
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = make;
        exif["Exif.Image.Model"] = model;
        exif["Exif.Photo.DateTimeOriginal"] = taken;
        image->setExifData(exif);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.open();
        QByteArray bytes(static_cast<qsizetype>(io.size()), '\0');
        io.read(reinterpret_cast<Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
        io.close();
        // What follows the image's end marker stands for its pixels.
        if (static_cast<std::size_t>(bytes.size()) < size) {
            bytes.append(static_cast<qsizetype>(size) - bytes.size(), 'x');
        }
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace morvane::app
