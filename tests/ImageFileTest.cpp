#include <gtest/gtest.h>
#include <QImageWriter>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "photo/PhotoFile.h"
#include "radiograph/ImageFile.h"

namespace {
QString write(const QTemporaryDir& dir, const QString& name, const QImage& image, const char* format) {
    const QString path = dir.filePath(name);
    QImageWriter writer(path, format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
}
}  // namespace

// A 16-bit picture becomes 8 bits between its 0.5 % and 99.5 % values: a ramp of 1000 values maps
// 5 .. 995 onto 0 .. 255, clamping the tails; a flat picture does not divide by zero; colour keeps
// one stretch for all channels.
TEST(ImageFileTest, SixteenBitPicturesAreStretchedBetweenTheirPercentiles) {
    QImage ramp(1000, 1, QImage::Format_Grayscale16);
    auto* row = reinterpret_cast<quint16*>(ramp.scanLine(0));
    for (int x = 0; x < 1000; ++x) row[x] = static_cast<quint16>(x);
    const radiograph::Radiograph r = radiograph::stretchedTo8Bit(ramp);
    ASSERT_TRUE(r.stretch.has_value());
    EXPECT_TRUE(r.stretch->low == 5 && r.stretch->high == 995);
    EXPECT_EQ(r.image.format(), QImage::Format_Grayscale8);
    // 500 becomes (500 - 5) * 255 / 990 = 127.5, to even 128.
    for (const auto& [x, grey] : {std::pair{0, 0}, {5, 0}, {500, 128}, {995, 255}, {999, 255}})
        EXPECT_EQ(r.image.constScanLine(0)[x], grey) << x;
    EXPECT_EQ(radiograph::stretchText(*r.stretch), "16-bit, raw 5..995 shown as 0..255 (0.5-99.5 %)");

    QImage flat(10, 10, QImage::Format_Grayscale16);
    flat.fill(QColor::fromRgba64(QRgba64::fromRgba64(300, 300, 300, 0xFFFF)));
    const radiograph::Radiograph f = radiograph::stretchedTo8Bit(flat);
    EXPECT_EQ(f.stretch->high, f.stretch->low + 1);
    EXPECT_EQ(f.image.pixelColor(3, 3).red(), 0);

    QImage colour(2, 1, QImage::Format_RGBX64);
    colour.setPixelColor(0, 0, QColor::fromRgba64(QRgba64::fromRgba64(1000, 2000, 3000, 0xFFFF)));
    colour.setPixelColor(1, 0, QColor::fromRgba64(QRgba64::fromRgba64(4000, 5000, 6000, 0xFFFF)));
    const radiograph::Radiograph c = radiograph::stretchedTo8Bit(colour, 0, 100);
    EXPECT_EQ(c.image.format(), QImage::Format_RGB32);
    EXPECT_TRUE(c.stretch->low == 1000 && c.stretch->high == 6000);
    EXPECT_EQ(c.image.pixel(0, 0), qRgb(0, 51, 102));
    EXPECT_EQ(c.image.pixel(1, 0), qRgb(153, 204, 255));
}

// Core photos and radiographs open as bitmap, JPEG, PNG or TIFF, 8 or 16 bits, whatever their name
// says. (Files that are not pictures, or are cut short, are in the bad-input tables.)

TEST(PhotoFileTest, TheScannersOpticalTiffOpensAsItsJpegCopyDoes) {
    const QImage tiff = photo::readPhoto(testsupport::realData("optical.tif"));
    ASSERT_EQ(tiff.size(), QSize(939, 60));
    EXPECT_EQ(tiff.format(), QImage::Format_RGB32);
    const QImage jpeg = photo::readPhoto(testsupport::realData("optical.jpg"));
    ASSERT_EQ(jpeg.size(), tiff.size());
    // The JPEG copy differs by its compression only, in every channel.
    double difference = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 939; ++x) {
            const QRgb a = tiff.pixel(x, y), b = jpeg.pixel(x, y);
            difference +=
                std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(difference / (939 * 60 * 3), 4.0);
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
        {"photo.png", colour, "png", brown}, {"photo.tif", colour, "tiff", brown},
        {"photo.bmp", colour, "bmp", brown}, {"grey.bmp", grey, "bmp", grey77},
        {"grey16.tif", grey16, "tiff", grey128}, {"rgb16.tiff", rgb16, "tiff", qRgb(255, 64, 0)},
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
}
