#include "radiograph/ImageFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <vector>

#include "core/RegularFile.h"
#include "radiograph/Adjust.h"

namespace radiograph {

namespace {

using Format = DeclaredImage::Format;

constexpr qint64 kColourBytesPerPixel = 4;       // 32-bit: what every picture but 8-bit grey becomes
constexpr qint64 kBitmapHeaderBytes = 14 + 124;  // file header + the largest info header

std::uint32_t byteAt(const QByteArray& b, qint64 i) {
    return static_cast<std::uint8_t>(b[static_cast<qsizetype>(i)]);
}
std::uint32_t littleEndian16(const QByteArray& b, qint64 i) {
    return byteAt(b, i) | byteAt(b, i + 1) << 8;
}
std::uint32_t littleEndian32(const QByteArray& b, qint64 i) {
    return littleEndian16(b, i) | littleEndian16(b, i + 2) << 16;
}
std::uint32_t bigEndian16(const QByteArray& b, qint64 i) {
    return byteAt(b, i) << 8 | byteAt(b, i + 1);
}

// Bitmap: file header "BM" .. pixel data offset at 10; info header size at 14, then width,
// height (negative: rows top-down), planes, bits per pixel and compression.
DeclaredImage bitmapHeader(const QByteArray& head, qint64 fileBytes) {
    DeclaredImage d;
    d.format = Format::Bitmap;
    if (head.size() < 26) return d;
    const qint64 dataOffset = littleEndian32(head, 10);
    const std::uint32_t infoSize = littleEndian32(head, 14);
    qint64 width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0;
    if (infoSize == 12) {  // the old OS/2 core header
        width = littleEndian16(head, 18);
        height = littleEndian16(head, 20);
        bitsPerPixel = littleEndian16(head, 24);
    } else if (infoSize >= 40 && head.size() >= 34) {
        width = static_cast<std::int32_t>(littleEndian32(head, 18));
        height = std::llabs(static_cast<std::int32_t>(littleEndian32(head, 22)));
        bitsPerPixel = littleEndian16(head, 28);
        compression = littleEndian32(head, 30);
    } else {
        return d;
    }
    if (width <= 0 || height <= 0 || bitsPerPixel == 0 || bitsPerPixel > 32) return d;
    d.size = QSize(static_cast<int>(width), static_cast<int>(height));
    // Beyond this either side alone is more than any picture the program opens; the products
    // below stay far inside 64 bits.
    constexpr qint64 kHugeSide = 1 << 28;
    if (width > kHugeSide || height > kHugeSide) {
        d.decodedBytes = std::numeric_limits<qint64>::max();
        return d;
    }
    d.decodedBytes = width * height * kColourBytesPerPixel;
    const qint64 pixelBytes = fileBytes - dataOffset;
    constexpr std::uint32_t kRle8 = 1, kRle4 = 2;
    if (compression == kRle8 || compression == kRle4) {
        d.complete = pixelBytes > 0 && width * height <= kMaxRlePixelsPerByte * pixelBytes;
    } else {
        // Rows are padded to 4 bytes; the last row's padding may be missing.
        const qint64 rowBytes = (width * bitsPerPixel + 7) / 8;
        const qint64 stride = (width * bitsPerPixel + 31) / 32 * 4;
        d.complete = pixelBytes >= stride * (height - 1) + rowBytes;
    }
    return d;
}

bool isStartOfFrame(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// JPEG: segments (FF, marker, big-endian length) up to a start of scan, then entropy-coded data in
// which a marker is an FF followed by anything but 00 (a stuffed FF) or a restart marker. The
// picture is complete when the end-of-image marker is reached.
DeclaredImage jpegHeader(const QByteArray& file) {
    DeclaredImage d;
    d.format = Format::Jpeg;
    const qint64 n = file.size();
    qint64 pos = 2;
    while (pos < n) {
        if (byteAt(file, pos) != 0xFF) return d;  // not at a marker: the file is damaged
        while (pos < n && byteAt(file, pos) == 0xFF) ++pos;
        if (pos >= n) break;
        const std::uint32_t marker = byteAt(file, pos++);
        if (marker == 0xD9) {
            d.complete = d.size.isValid();
            break;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (pos + 2 > n) break;
        const qint64 length = bigEndian16(file, pos);
        if (length < 2) return d;
        if (pos + length > n) break;
        if (isStartOfFrame(marker) && length >= 8) {
            const qint64 height = bigEndian16(file, pos + 3), width = bigEndian16(file, pos + 5);
            if (width == 0 || height == 0) return d;  // a height given later (DNL): not supported
            d.size = QSize(static_cast<int>(width), static_cast<int>(height));
            // Grey or colour: the image reader's own limit counts at least 32 bits a pixel.
            d.decodedBytes = width * height * kColourBytesPerPixel;
        }
        pos += length;
        if (marker != 0xDA) continue;
        if (!d.size.isValid()) return d;  // a scan before the frame header
        // Entropy-coded data run to the next marker.
        while (pos + 1 < n) {
            // (the next 0xFF with a byte after it; none: the data runs to the end)
            const char* data = file.constData();
            const void* ff = std::memchr(data + pos, 0xFF, static_cast<std::size_t>(n - 1 - pos));
            if (ff == nullptr) {
                pos = n - 1;
                break;
            }
            pos = static_cast<const char*>(ff) - data;
            const std::uint32_t next = byteAt(file, pos + 1);
            if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7) && next != 0xFF) break;
            ++pos;
        }
        if (pos + 1 >= n) break;
    }
    // Far too short for its size: even a flat picture needs more bytes than this.
    if (d.complete && d.size.isValid() &&
        static_cast<qint64>(d.size.width()) * d.size.height() > kMaxJpegPixelsPerByte * n) {
        d.complete = false;
    }
    return d;
}

[[noreturn]] void cannotRead(const QString& why, const QString& path) {
    throw core::FileError(core::kBadFileName, (why + QStringLiteral(": ") + path).toStdString());
}

}  // namespace

DeclaredImage declaredImage(const QByteArray& head, qint64 fileBytes) {
    if (head.startsWith("BM")) return bitmapHeader(head, fileBytes);
    if (head.startsWith("\xFF\xD8\xFF")) return jpegHeader(head);
    return {};
}

QImage readBitmapOrJpeg(const QString& path, int maxWidth) {
    QFile file(path);
    core::openRegularFile(file);
    const qint64 fileBytes = file.size();
    QByteArray head = file.read(kBitmapHeaderBytes);
    // A JPEG is walked to its end; its file is small beside the picture it decodes to.
    if (head.startsWith("\xFF\xD8\xFF")) {
        if (fileBytes > kMaxJpegFileBytes) cannotRead(QStringLiteral("File too large"), path);
        head.reserve(fileBytes);
        head += file.readAll();
    }
    const DeclaredImage declared = declaredImage(head, fileBytes);
    if (declared.format == Format::Unknown) cannotRead(QStringLiteral("Not a bitmap or JPEG file"), path);
    if (!declared.size.isValid()) cannotRead(QStringLiteral("Unreadable image header"), path);
    if (maxWidth > 0 && declared.size.width() > maxWidth) throw ImageTooWideError(declared.size.width());
    if (declared.decodedBytes > kMaxDecodedBytes)
        throw ImageTooLargeError(declared.size, declared.decodedBytes);
    if (!declared.complete) throw ImageTruncatedError(declared.size, fileBytes);

    QImageReader::setAllocationLimit(static_cast<int>(kMaxDecodedMegabytes));
    QBuffer buffer(&head);
    QImageReader reader;
    if (declared.format == Format::Jpeg) {
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setFormat("jpeg");
    } else {
        file.seek(0);  // a bitmap is decoded straight from the file, without a copy of its bytes
        reader.setDevice(&file);
        reader.setFormat("bmp");
    }
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    // Its header was sound, so the file is of a kind the program reads: its picture is damaged.
    if (image.isNull()) throw ImageDamagedError(declared.format == Format::Jpeg ? "JPEG" : "bitmap");
    if (image.size() != declared.size) throw ImageTruncatedError(declared.size, fileBytes);
    return normalisedSource(image);
}

std::optional<int> tiffSampleFormat(QIODevice& file) {
    constexpr int kHeaderBytes = 8, kEntryBytes = 12;
    constexpr quint16 kSampleFormatTag = 339, kShortType = 3;
    const qint64 start = file.pos();
    const auto readAt = [&](qint64 at, qint64 n) {
        QByteArray bytes;
        if (at >= 0 && file.seek(at)) bytes = file.read(n);
        return bytes.size() == n ? bytes : QByteArray();
    };
    const QByteArray header = readAt(0, kHeaderBytes);
    std::optional<int> format;
    if (!header.isEmpty() && (header.startsWith("II") || header.startsWith("MM"))) {
        const bool little = header.startsWith("II");
        const auto number = [little](const QByteArray& b, int at, int size) {
            quint32 v = 0;
            for (int i = 0; i < size; ++i) {
                const auto byte = static_cast<quint8>(b[at + (little ? size - 1 - i : i)]);
                v = (v << 8) | byte;
            }
            return v;
        };
        const qint64 ifd = number(header, 4, 4);
        const QByteArray count = readAt(ifd, 2);
        const int entries = count.isEmpty() ? 0 : static_cast<int>(number(count, 0, 2));
        const QByteArray table = readAt(ifd + 2, qint64{entries} * kEntryBytes);
        if (!count.isEmpty() && !table.isEmpty()) {
            format = 1;  // the default when the tag is missing
            for (int e = 0; e < entries; ++e) {
                const int at = e * kEntryBytes;
                if (number(table, at, 2) != kSampleFormatTag || number(table, at + 2, 2) != kShortType) continue;
                // One value per channel, all alike: the first, in the entry itself when two fit there.
                const QByteArray value =
                    number(table, at + 4, 4) <= 2 ? table.mid(at + 8, 2) : readAt(number(table, at + 8, 4), 2);
                format = value.isEmpty() ? std::nullopt : std::optional<int>(static_cast<int>(number(value, 0, 2)));
            }
        }
    }
    file.seek(start);
    return format;
}

QImage readPngOrTiff(const QString& path, int maxWidth, int* pages) {
    QFile file(path);
    core::openRegularFile(file);
    const QByteArray magic = file.peek(4);
    const bool png = magic.startsWith("\x89PNG");
    const bool tiff = magic.startsWith("II*") || magic.startsWith(QByteArray("MM\0*", 4));
    if (!png && !tiff) cannotRead(QStringLiteral("Not a PNG or TIFF file"), path);
    QImageReader::setAllocationLimit(static_cast<int>(kMaxDecodedMegabytes));
    if (tiff) {
        constexpr int kSigned = 2, kFloat = 3;
        const std::optional<int> samples = tiffSampleFormat(file);
        if (samples == kFloat) throw ImageSampleFormatError("floating-point numbers");
        if (samples == kSigned) throw ImageSampleFormatError("signed integers");
    }
    QImageReader reader(&file, png ? "png" : "tiff");
    if (pages) *pages = std::max(1, reader.imageCount());
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    const char* const format = png ? "PNG" : "TIFF";
    if (!declared.isValid() || declared.isEmpty()) throw ImageDamagedError(format);
    if (maxWidth > 0 && declared.width() > maxWidth) throw ImageTooWideError(declared.width());
    // Sixteen bits per channel are decoded as such: up to 8 bytes a pixel before the stretch.
    constexpr qint64 kLargestBytesPerPixel = 8;
    const qint64 bytes = qint64{declared.width()} * declared.height() * kLargestBytesPerPixel;
    if (bytes > kMaxDecodedBytes) throw ImageTooLargeError(declared, bytes);
    const QImage image = reader.read();
    if (image.isNull()) throw ImageDamagedError(format);
    if (image.size() != declared) throw ImageTruncatedError(declared, file.size());
    return image;
}

namespace {

constexpr int kLevels16 = 65536;

bool isSixteenBit(const QImage& image) {
    return image.format() == QImage::Format_Grayscale16 || image.depth() == 64;
}

// The raw value below which `percent` of the counted values lie.
int percentile(const std::vector<std::uint64_t>& histogram, std::uint64_t total, double percent) {
    if (total == 0) return 0;
    const auto wanted =
        std::min(total - 1, static_cast<std::uint64_t>(static_cast<double>(total) * percent / 100.0));
    std::uint64_t seen = 0;
    for (int v = 0; v < kLevels16; ++v) {
        seen += histogram[static_cast<std::size_t>(v)];
        if (seen > wanted) return v;
    }
    return kLevels16 - 1;
}

// The rows counted for the stretch's percentiles: every row of a picture of up to 16 million
// pixels, and as many evenly spread rows of a larger one (a section of today's scanners has a
// hundred million): the percentiles of so many values are those of the whole to far below one level.
constexpr qint64 kCountedPixels = qint64{1} << 24;
int countedRowStep(const QImage& source) {
    const qint64 pixels = qint64{source.width()} * source.height();
    return static_cast<int>(std::max<qint64>(1, pixels / kCountedPixels));
}

// Neighbouring pixels of a radiograph mostly share their value: counted into four histograms in
// turn, one count need not wait for the last. Each of them counts at most a quarter of the largest
// picture, which 32 bits hold.
std::vector<std::uint64_t> greyHistogram(const QImage& source) {
    constexpr int kParts = 4;
    static_assert(kMaxDecodedBytes / 2 / kParts < std::numeric_limits<std::uint32_t>::max());
    std::vector<std::uint32_t> parts(std::size_t{kParts} * kLevels16, 0);
    std::uint32_t* const h[kParts] = {&parts[0], &parts[kLevels16], &parts[2 * kLevels16],
                                      &parts[3 * kLevels16]};
    const int width = source.width(), whole = width / kParts * kParts, step = countedRowStep(source);
    for (int y = 0; y < source.height(); y += step) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(source.constScanLine(y));
        int x = 0;
        for (; x < whole; x += kParts) {
            ++h[0][row[x]];
            ++h[1][row[x + 1]];
            ++h[2][row[x + 2]];
            ++h[3][row[x + 3]];
        }
        for (; x < width; ++x) ++h[0][row[x]];
    }
    std::vector<std::uint64_t> histogram(kLevels16, 0);
    for (std::size_t v = 0; v < histogram.size(); ++v)
        histogram[v] = std::uint64_t{h[0][v]} + h[1][v] + h[2][v] + h[3][v];
    return histogram;
}

// The red, green and blue values of every pixel of an RGBX64 picture (the fourth is not counted).
std::vector<std::uint64_t> colourHistogram(const QImage& source) {
    constexpr int kValuesPerPixel = 4;
    std::vector<std::uint64_t> histogram(kLevels16, 0);
    const int width = source.width(), step = countedRowStep(source);
    for (int y = 0; y < source.height(); y += step) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint16_t* v = row + x * kValuesPerPixel;
            ++histogram[v[0]];
            ++histogram[v[1]];
            ++histogram[v[2]];
        }
    }
    return histogram;
}

}  // namespace

Radiograph stretchedTo8Bit(const QImage& picture16, double lowPercent, double highPercent) {
    const bool grey = picture16.format() == QImage::Format_Grayscale16;
    const QImage source = grey ? picture16 : picture16.convertToFormat(QImage::Format_RGBX64);
    const int width = source.width(), height = source.height();
    const std::vector<std::uint64_t> histogram = grey ? greyHistogram(source) : colourHistogram(source);
    const std::uint64_t total = std::accumulate(histogram.begin(), histogram.end(), std::uint64_t{0});
    Stretch stretch{percentile(histogram, total, lowPercent), percentile(histogram, total, highPercent), lowPercent,
                    highPercent};
    if (stretch.high <= stretch.low) stretch.high = stretch.low + 1;  // a flat picture
    std::vector<std::uint8_t> table(kLevels16);
    const double scale = 255.0 / (stretch.high - stretch.low);
    for (int v = 0; v < kLevels16; ++v)
        table[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(std::clamp(std::lround((v - stretch.low) * scale), 0L, 255L));
    QImage out(width, height, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(source.constScanLine(y));
        if (grey) {
            std::uint8_t* o = out.scanLine(y);
            for (int x = 0; x < width; ++x) o[x] = table[row[x]];
        } else {
            auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const std::uint16_t* v = row + x * 4;
                o[x] = qRgb(table[v[0]], table[v[1]], table[v[2]]);
            }
        }
    }
    return {out, stretch};
}

Radiograph readRadiograph(const QString& path, int maxWidth) {
    QFile file(path);
    core::openRegularFile(file);
    const QByteArray magic = file.peek(4);
    file.close();
    if (magic.startsWith("\x89PNG") || magic.startsWith("II*") || magic.startsWith(QByteArray("MM\0*", 4))) {
        int pages = 1;
        const QImage decoded = readPngOrTiff(path, maxWidth, &pages);
        Radiograph radiograph = isSixteenBit(decoded) ? stretchedTo8Bit(decoded)
                                                      : Radiograph{normalisedSource(decoded), std::nullopt};
        radiograph.pages = pages;
        return radiograph;
    }
    return {readBitmapOrJpeg(path, maxWidth), std::nullopt};
}

QString stretchText(const Stretch& s) {
    return QStringLiteral("16-bit, raw %1..%2 shown as 0..255 (%3-%4 %)")
        .arg(s.low)
        .arg(s.high)
        .arg(s.lowPercent)
        .arg(s.highPercent);
}

}  // namespace radiograph
