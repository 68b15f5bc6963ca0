#include "photo/PhotoFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "core/Errors.h"
#include "radiograph/ImageFile.h"

namespace photo {

namespace {

constexpr qint64 kBytesPerPixel = 4;  // every photo is kept as 32-bit RGB

[[noreturn]] void cannotRead(const QString& why, const QString& path) {
    throw core::FileError(core::kBadFileName, (why + QStringLiteral(": ") + path).toStdString());
}

QImage asRgb32(const QImage& decoded) {
    if (decoded.format() == QImage::Format_RGB32) return decoded;
    return decoded.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QImage readPhoto(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw core::FileError(core::kFileNotFound, ("Cannot open " + path).toStdString());
    const QByteArray magic = file.peek(4);
    // Bitmaps and JPEGs have the radiograph's careful header walk, which finds cut files too.
    if (magic.startsWith("BM") || magic.startsWith("\xFF\xD8\xFF")) {
        file.close();
        return asRgb32(radiograph::readBitmapOrJpeg(path));
    }
    const bool png = magic.startsWith("\x89PNG");
    const bool tiff = magic.startsWith("II*") || magic.startsWith(QByteArray("MM\0*", 4));
    if (!png && !tiff) cannotRead(QStringLiteral("Not a bitmap, JPEG, PNG or TIFF file"), path);

    QImageReader::setAllocationLimit(static_cast<int>(radiograph::kMaxDecodedMegabytes));
    QImageReader reader(&file, png ? "png" : "tiff");
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty()) cannotRead(QStringLiteral("Unreadable image header"), path);
    const qint64 bytes = qint64{declared.width()} * declared.height() * kBytesPerPixel;
    if (bytes > radiograph::kMaxDecodedBytes) throw radiograph::ImageTooLargeError(declared, bytes);
    const QImage image = reader.read();
    if (image.isNull()) cannotRead(reader.errorString(), path);
    if (image.size() != declared) throw radiograph::ImageTruncatedError(declared, file.size());
    return asRgb32(image);
}

}  // namespace photo
