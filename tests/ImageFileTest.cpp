// Radiograph files are checked against their own headers before anything is decoded: a header
// that declares more than a radiograph can be, or a file too short for what it declares, is
// refused quickly and without allocating the picture it claims.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "SampleFiles.h"
#include "SynthCore.h"
#include "TestSupport.h"
#include "files/TextFile.h"
#include "radiograph/ImageFile.h"


namespace {

enum class Outcome { Read, TooLarge, Truncated, Unreadable };

Outcome readOutcome(const QString& path) {
    try {
        radiograph::readBitmapOrJpeg(path, radiograph::kMaxRadiographWidth);
        return Outcome::Read;
    } catch (const radiograph::ImageTooLargeError&) {
        return Outcome::TooLarge;
    } catch (const radiograph::ImageTruncatedError&) {
        return Outcome::Truncated;
    } catch (const core::FileError&) {
        return Outcome::Unreadable;
    }
}

}  // namespace

TEST(ImageFile, DamagedAndOversizedFilesAreRefusedBeforeDecoding) {
    QTemporaryDir dir;
    const QByteArray bmp = files::readFileBytes(testsupport::realData("radiograph.bmp"));
    const QByteArray jpg = files::readFileBytes(testsupport::realData("radiograph.jpg"));
    const QByteArray noise = samples::noise(5000);
    const QImage core = synth::makeVarvedCore(300, 40).radiograph;
    struct Case {
        const char* name;
        QByteArray bytes;
        Outcome outcome;
    };
    const Case cases[] = {
        {"real bitmap", bmp, Outcome::Read},
        {"real JPEG", jpg, Outcome::Read},
        {"progressive JPEG", samples::pictureBytes(core, "jpeg", true), Outcome::Read},
        {"55-byte bitmap declaring 4 x 33554434", samples::bitmapDeclaring(4, 33554434, 24, 0, 1), Outcome::Truncated},
        {"bitmap declaring 30000 x 30000", samples::bitmapDeclaring(30000, 30000, 24, 0, 100), Outcome::TooLarge},
        {"bitmap declaring 2^31 - 1 rows", samples::bitmapDeclaring(30000, -INT32_MAX, 32, 0, 8), Outcome::TooLarge},
        {"run-length bitmap far too short", samples::bitmapDeclaring(20000, 5000, 8, 1, 64), Outcome::Truncated},
        {"colour JPEG declaring 32767 x 16383", samples::jpegDeclaring(32767, 16383, true, false), Outcome::TooLarge},
        {"progressive JPEG declaring 32767 x 16383", samples::jpegDeclaring(32767, 16383, true, true),
         Outcome::TooLarge},
        {"grey JPEG declaring 30000 x 16000", samples::jpegDeclaring(30000, 16000, false, false), Outcome::Truncated},
        {"bitmap cut in half", bmp.left(bmp.size() / 2), Outcome::Truncated},
        {"bitmap without the padding of its last row", bmp.left(bmp.size() - 3), Outcome::Read},
        {"bitmap short of its last pixel byte", bmp.left(bmp.size() - 4), Outcome::Truncated},
        {"JPEG cut in half", jpg.left(jpg.size() / 2), Outcome::Truncated},
        {"JPEG without its end marker", jpg.left(jpg.size() - 2), Outcome::Truncated},
        {"progressive JPEG cut short", samples::pictureBytes(core, "jpeg", true).chopped(200), Outcome::Truncated},
        {"bitmap header only", bmp.left(20), Outcome::Unreadable},
        {"JPEG start only", QByteArray("\xFF\xD8\xFF\xE0 truncated", 14), Outcome::Unreadable},
        {"empty file", QByteArray(), Outcome::Unreadable},
        {"noise", noise, Outcome::Unreadable},
        {"bitmap of noise", "BM" + noise, Outcome::Unreadable},
    };
    for (const Case& c : cases) {
        files::saveFileBytes(dir.filePath("image"), c.bytes);
        EXPECT_EQ(readOutcome(dir.filePath("image")), c.outcome) << c.name;
    }
}

// A 16-bit picture becomes 8 bits between its 0.5 % and 99.5 % values: a ramp of 1000 values maps
// 5 .. 995 onto 0 .. 255, clamping the tails; a flat picture does not divide by zero; colour keeps
// one stretch for all channels.
TEST(ImageFileTest, SixteenBitPicturesAreStretchedBetweenTheirPercentiles) {
    QImage ramp(1000, 1, QImage::Format_Grayscale16);
    auto* row = reinterpret_cast<quint16*>(ramp.scanLine(0));
    for (int x = 0; x < 1000; ++x) row[x] = static_cast<quint16>(x);
    const radiograph::Radiograph r = radiograph::stretchedTo8Bit(ramp);
    ASSERT_TRUE(r.stretch.has_value());
    EXPECT_EQ(r.stretch->low, 5);
    EXPECT_EQ(r.stretch->high, 995);
    EXPECT_EQ(r.image.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(r.image.constScanLine(0)[0], 0);
    EXPECT_EQ(r.image.constScanLine(0)[5], 0);
    EXPECT_EQ(r.image.constScanLine(0)[500], 128);  // (500 - 5) * 255 / 990 = 127.5
    EXPECT_EQ(r.image.constScanLine(0)[995], 255);
    EXPECT_EQ(r.image.constScanLine(0)[999], 255);
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
    EXPECT_EQ(c.stretch->low, 1000);
    EXPECT_EQ(c.stretch->high, 6000);
    EXPECT_EQ(c.image.pixel(0, 0), qRgb(0, 51, 102));
    EXPECT_EQ(c.image.pixel(1, 0), qRgb(153, 204, 255));
}
