// Core photos and radiographs open as bitmap, JPEG, PNG or TIFF, 8 or 16 bits, whatever their name
// says. (Files that are not pictures, or are cut short, are in the bad-input tables.)
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
