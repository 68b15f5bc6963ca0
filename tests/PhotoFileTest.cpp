// Core photos open as bitmap, JPEG, PNG or TIFF, 8 or 16 bits, whatever their name says; files
// that are not photos, or are cut short, are refused with a reason and without a picture.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "core/Errors.h"
#include "photo/PhotoFile.h"
#include "radiograph/ImageFile.h"

namespace {

QString write(const QTemporaryDir& dir, const QString& name, const QImage& image, const char* format) {
    const QString path = dir.filePath(name);
    QImageWriter writer(path, format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
}

QString writeBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An uncompressed 8-bit RGB TIFF with its directory before the pixels (as many scanners write
// them): a file cut short loses pixels, not the directory.
QByteArray tiffDirectoryFirst(int width, int height) {
    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    const quint32 pixels = static_cast<quint32>(width * height * 3);
    const int entries = 9;
    const quint32 bitsAt = 8 + 2 + entries * 12 + 4, dataAt = bitsAt + 8;
    const Entry e[entries] = {{256, 4, 1, static_cast<quint32>(width)}, {257, 4, 1, static_cast<quint32>(height)},
                              {258, 3, 3, bitsAt}, {259, 3, 1, 1}, {262, 3, 1, 2}, {273, 4, 1, dataAt},
                              {277, 3, 1, 3}, {278, 4, 1, static_cast<quint32>(height)}, {279, 4, 1, pixels}};
    QByteArray b("II*\0", 4);
    auto put = [&b](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(8, 4);
    put(entries, 2);
    for (const Entry& x : e) {
        put(x.tag, 2);
        put(x.type, 2);
        put(x.count, 4);
        put(x.value, 4);
    }
    put(0, 4);
    for (int i = 0; i < 3; ++i) put(8, 2);
    put(0, 2);
    b.append(QByteArray(static_cast<qsizetype>(pixels), '\x40'));
    return b;
}

}  // namespace

TEST(PhotoFileTest, TheScannersOpticalTiffOpensAsItsJpegCopyDoes) {
    const QImage tiff = photo::readPhoto(testsupport::realData("optical.tif"));
    ASSERT_EQ(tiff.size(), QSize(939, 60));
    EXPECT_EQ(tiff.format(), QImage::Format_RGB32);
    const QImage jpeg = photo::readPhoto(testsupport::realData("optical.jpg"));
    ASSERT_EQ(jpeg.size(), tiff.size());
    // The JPEG copy differs by its compression only.
    double difference = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 939; ++x) difference += std::abs(qGreen(tiff.pixel(x, y)) - qGreen(jpeg.pixel(x, y)));
    }
    EXPECT_LT(difference / (939 * 60), 4.0);
}

// Radiographs and photos open by their content, whatever their name says: bitmap, JPEG, PNG and
// TIFF, grey or colour, 8 or 16 bits a channel. A radiograph keeps 8-bit grey as it is and
// stretches 16 bits between percentiles; a photo always becomes 8-bit colour.
TEST(PhotoFileTest, RadiographsAndPhotosOfEveryKindOpenByContent) {
    QTemporaryDir dir;
    QImage colour(40, 8, QImage::Format_RGB32);
    colour.fill(qRgb(200, 100, 50));
    QImage grey(40, 8, QImage::Format_Grayscale8);
    grey.fill(77);
    QImage grey16(40, 8, QImage::Format_Grayscale16);
    grey16.fill(QColor::fromRgba64(QRgba64::fromRgba64(0x8080, 0x8080, 0x8080, 0xFFFF)));
    QImage rgb16(40, 8, QImage::Format_RGBX64);
    rgb16.fill(QColor::fromRgba64(QRgba64::fromRgba64(0xFFFF, 0x4000, 0x0000, 0xFFFF)));
    const QRgb grey77 = qRgb(77, 77, 77), grey128 = qRgb(128, 128, 128), brown = qRgb(200, 100, 50);
    const struct {
        QString name;
        const QImage& image;
        const char* format;
        QRgb photo;  // the photo's pixel; the radiograph's grey is its channel mean
    } rows[] = {
        {"photo.png", colour, "png", brown},           {"photo.tif", colour, "tiff", brown},
        {"photo.bmp", colour, "bmp", brown},           {"grey.bmp", grey, "bmp", grey77},
        {"grey16.tif", grey16, "tiff", grey128},       {"rgb16.tiff", rgb16, "tiff", qRgb(255, 64, 0)},
        {"named-jpg-but-png.jpg", grey, "png", grey77}, {"named-bmp-but-tiff.bmp", grey16, "tiff", grey128},
        {"named-png-but-bmp.png", colour, "bmp", brown},
    };
    for (const auto& row : rows) {
        const QString path = write(dir, row.name, row.image, row.format);
        const QImage photo = photo::readPhoto(path);
        ASSERT_EQ(photo.size(), QSize(40, 8)) << row.name.toStdString();
        EXPECT_EQ(photo.format(), QImage::Format_RGB32);
        EXPECT_EQ(photo.pixel(5, 5), row.photo) << row.name.toStdString();
        const radiograph::Radiograph radiograph = radiograph::readRadiograph(path);
        ASSERT_EQ(radiograph.image.size(), QSize(40, 8)) << row.name.toStdString();
        const bool sixteen = row.image.depth() == 64 || row.image.format() == QImage::Format_Grayscale16;
        EXPECT_EQ(radiograph.stretch.has_value(), sixteen) << row.name.toStdString();
        if (row.image.format() == QImage::Format_Grayscale8) {
            EXPECT_EQ(radiograph.image.format(), QImage::Format_Grayscale8) << row.name.toStdString();
            EXPECT_EQ(radiograph.image.constScanLine(3)[3], 77);
        }
    }
    // The scanner's 16-bit radiograph: its raw values lie in 255..1868.
    const radiograph::Radiograph tiff = radiograph::readRadiograph(testsupport::realData("radiograph.tif"));
    EXPECT_EQ(tiff.image.size(), QSize(2251, 84));
    ASSERT_TRUE(tiff.stretch.has_value());
    EXPECT_GE(tiff.stretch->low, 255);
    EXPECT_LE(tiff.stretch->high, 1868);
    // A radiograph wider than the program reads is refused by its header.
    QImage wide(32768, 1, QImage::Format_Grayscale8);
    wide.fill(1);
    ASSERT_TRUE(wide.save(dir.filePath("wide.tif"), "TIFF"));
    EXPECT_THROW(radiograph::readRadiograph(dir.filePath("wide.tif"), radiograph::kMaxRadiographWidth),
                 radiograph::ImageTooWideError);
}

TEST(PhotoFileTest, BadFilesAreRefusedWithAReason) {
    QTemporaryDir dir;
    QImage colour(400, 300, QImage::Format_RGB32);
    colour.fill(qRgb(10, 20, 30));
    const QByteArray tiff = bytesOf(write(dir, QStringLiteral("whole.tif"), colour, "tiff"));
    const QByteArray png = bytesOf(write(dir, QStringLiteral("whole.png"), colour, "png"));
    const QByteArray real = bytesOf(testsupport::realData("optical.tif"));
    const QByteArray directoryFirst = tiffDirectoryFirst(300, 200);
    ASSERT_EQ(photo::readPhoto(writeBytes(dir, QStringLiteral("first.tif"), directoryFirst)).pixel(299, 199),
              qRgb(64, 64, 64));
    struct Row {
        QString name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {QStringLiteral("empty.jpg"), QByteArray()},
        {QStringLiteral("text.tif"), QByteArray("filename\tposition\r\n")},
        {QStringLiteral("binary.png"), QByteArray(4096, '\x07')},
        {QStringLiteral("cut.tif"), tiff.left(tiff.size() / 2)},
        {QStringLiteral("cut.png"), png.left(png.size() / 2)},
        {QStringLiteral("header-only.tif"), tiff.left(8)},
        {QStringLiteral("real-cut.tif"), real.left(real.size() / 3)},
        {QStringLiteral("pixels-cut.tif"), directoryFirst.left(directoryFirst.size() / 2)},
    };
    for (const Row& row : rows) {
        const QString path = writeBytes(dir, row.name, row.bytes);
        EXPECT_THROW(photo::readPhoto(path), core::RuntimeError) << row.name.toStdString();
    }
    EXPECT_THROW(photo::readPhoto(dir.filePath(QStringLiteral("missing.tif"))), core::FileError);
    EXPECT_THROW(photo::readPhoto(dir.path()), core::FileError);  // a folder
}

// A TIFF whose header declares a picture far beyond what the program opens is refused before
// anything is allocated.
TEST(PhotoFileTest, HugeDeclaredTiffIsRefusedByItsHeader) {
    QTemporaryDir dir;
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::white);
    QByteArray tiff = bytesOf(write(dir, QStringLiteral("small.tif"), small, "tiff"));
    // Rewrite the width and height tags of the first directory (little-endian file).
    ASSERT_TRUE(tiff.startsWith("II*"));
    const quint32 ifd = qFromLittleEndian<quint32>(tiff.constData() + 4);
    const quint16 count = qFromLittleEndian<quint16>(tiff.constData() + ifd);
    for (quint16 i = 0; i < count; ++i) {
        char* entry = tiff.data() + ifd + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        const quint16 type = qFromLittleEndian<quint16>(entry + 2);
        if (tag != 256 && tag != 257) continue;
        if (type == 3) qToLittleEndian<quint16>(60000, entry + 8);
        else qToLittleEndian<quint32>(60000, entry + 8);
    }
    const QString path = writeBytes(dir, QStringLiteral("huge.tif"), tiff);
    EXPECT_THROW(photo::readPhoto(path), radiograph::ImageTooLargeError);
}
