#include "radiograph/ImageFile.h"

#include <QImageReader>

#include "radiograph/Adjust.h"

namespace radiograph {

QImage readBitmapOrJpeg(const QString& path, int maxWidth) {
    // Large radiographs (30000 x 1000 in colour is 120 MB) are fine; Qt's default limit is 128 MB.
    QImageReader::setAllocationLimit(2048);
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") {
        throw core::FileError(core::kBadFileName, ("Not a bitmap or JPEG file: " + path).toStdString());
    }
    const QSize size = reader.size();
    if (maxWidth > 0 && size.width() > maxWidth) throw ImageTooWideError(size.width());
    QImage image = reader.read();
    if (image.isNull()) throw core::FileError(core::kBadFileName, reader.errorString().toStdString());
    if (maxWidth > 0 && image.width() > maxWidth) throw ImageTooWideError(image.width());
    return normalisedSource(image);
}

}  // namespace radiograph
