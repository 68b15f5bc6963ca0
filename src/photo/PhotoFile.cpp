#include "photo/PhotoFile.h"

#include <QFile>
#include <QFileInfo>

#include "core/Errors.h"
#include "core/RegularFile.h"
#include "radiograph/ImageFile.h"

namespace photo {

namespace {

QImage asRgb32(const QImage& decoded) {
    if (decoded.format() == QImage::Format_RGB32) return decoded;
    return decoded.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QImage readPhoto(const QString& path, int* pages) {
    if (pages) *pages = 1;
    QFile file(path);
    core::openRegularFile(file);
    const QByteArray magic = file.peek(4);
    // Bitmaps and JPEGs have the radiograph's careful header walk, which finds cut files too.
    if (magic.startsWith("BM") || magic.startsWith("\xFF\xD8\xFF")) {
        file.close();
        return asRgb32(radiograph::readBitmapOrJpeg(path));
    }
    file.close();
    return asRgb32(radiograph::readPngOrTiff(path, 0, pages));
}

}  // namespace photo
