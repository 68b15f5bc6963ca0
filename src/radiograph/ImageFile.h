#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <optional>

#include "core/Errors.h"

namespace radiograph {

// One data position per pixel column: a 4 m section at 20 µm per pixel.
inline constexpr int kMaxRadiographWidth = 200000;

// The most memory a decoded picture may take: 4 GiB, a section of the widest kind 5000 pixels
// high in colour. A real radiograph needs a fraction of it; a header declaring more is damaged or
// not a radiograph.
inline constexpr qint64 kMaxDecodedBytes = 4096ll * 1024 * 1024;
inline constexpr int kExampleColourHeight = 5000;  // of kMaxRadiographWidth columns, in the message
static_assert(qint64{kMaxRadiographWidth} * kExampleColourHeight * 4 <= kMaxDecodedBytes);
inline constexpr qint64 kMaxDecodedMegabytes = kMaxDecodedBytes / (1024 * 1024);
// A JPEG file is read whole before it is decoded: it is far smaller than its picture, and one
// larger than this is no radiograph.
inline constexpr qint64 kMaxJpegFileBytes = 1024ll * 1024 * 1024;
// The most pixels one byte of a file can carry. Run-length bitmaps code at most 255 pixels in two
// bytes; a JPEG at most one 8 x 8 block in a bit or two (arithmetic coding of a flat picture does
// better, so its limit is loose). A file that would need more is far too short for its header.
inline constexpr qint64 kMaxRlePixelsPerByte = 256;
inline constexpr qint64 kMaxJpegPixelsPerByte = 4096;

// What a bitmap or JPEG file's header declares, found without decoding the picture.
struct DeclaredImage {
    enum class Format { Unknown, Bitmap, Jpeg };
    Format format = Format::Unknown;
    QSize size;               // empty when the header could not be read
    qint64 decodedBytes = 0;  // memory the decoded picture takes
    bool complete = false;    // the file holds all the picture data its header declares
};

// Reads the header (a bitmap's file and info header; a JPEG's segments up to its end marker) of
// a file of fileBytes bytes whose first bytes are head. For a bitmap, head needs only the headers;
// for a JPEG it must be the whole file, as its entropy-coded data are walked to find the end.
DeclaredImage declaredImage(const QByteArray& head, qint64 fileBytes);

// A picture wider than the program can count positions for.
struct ImageTooWideError : core::RuntimeError {
    explicit ImageTooWideError(int width)
        : core::RuntimeError(core::kOverflow, "Image too wide"), width(width) {}
    int width;
};

// A header declaring a picture that would need more memory than kMaxDecodedBytes.
struct ImageTooLargeError : core::RuntimeError {
    ImageTooLargeError(QSize size, qint64 bytes)
        : core::RuntimeError(core::kOverflow, "Image too large"), size(size), bytes(bytes) {}
    // The decoded size in megabytes, rounded up without overflowing a saturated byte count.
    qint64 megabytes() const {
        constexpr qint64 kMegabyte = 1 << 20;
        return bytes / kMegabyte + (bytes % kMegabyte != 0 ? 1 : 0);
    }
    QSize size;
    qint64 bytes;
};

// A file of a kind the program reads (by its first bytes and a sound header, where it is checked)
// whose picture cannot be decoded: cut short or damaged. `format` names the kind ("PNG", "JPEG").
struct ImageDamagedError : core::RuntimeError {
    explicit ImageDamagedError(const char* format)
        : core::RuntimeError(core::kBadFileName, std::string(format) + " image damaged"), format(format) {}
    const char* format;
};

// A file that ends before the picture its header declares: cut short, or far too short to hold it.
struct ImageTruncatedError : core::RuntimeError {
    ImageTruncatedError(QSize size, qint64 fileBytes)
        : core::RuntimeError(core::kPastEndOfFile, "Image file cut short"),
          size(size),
          fileBytes(fileBytes) {}
    QSize size;
    qint64 fileBytes;
};

// A TIFF whose samples are of a kind the program does not read (floating-point numbers, or signed
// integers), named in `kind`, found from the first page's header before decoding.
struct ImageSampleFormatError : core::RuntimeError {
    explicit ImageSampleFormatError(const char* kind)
        : core::RuntimeError(core::kBadFileName, std::string("TIFF samples are ") + kind), kind(kind) {}
    const char* kind;
};

// The TIFF SampleFormat of the file's first page (1 unsigned integers, 2 signed, 3 floating point;
// 1 when the tag is missing), read from its header by seeking; nothing when the header is unreadable.
std::optional<int> tiffSampleFormat(QIODevice& file);

// Decodes a Windows bitmap or JPEG file (recognised by content, not by name), 8-bit grey kept as
// 8-bit and everything else as 32-bit. The header is checked before anything is decoded:
// ImageTooWideError when maxWidth is given and exceeded, ImageTooLargeError, ImageTruncatedError;
// core::FileError for any other file, an unreadable one or one the decoder cannot finish.
QImage readBitmapOrJpeg(const QString& path, int maxWidth = 0);

// Decodes a PNG or TIFF file (recognised by content) as the decoder gives it: 8 or 16 bits per
// channel, grey or colour. The header's size is checked first, as for readBitmapOrJpeg; a file the
// decoder cannot finish is a core::FileError.
// `pages`, when given, receives the count of pages (pictures) in the file; the first is decoded.
// ImageSampleFormatError for a TIFF of float or signed samples.
QImage readPngOrTiff(const QString& path, int maxWidth = 0, int* pages = nullptr);

// How a picture of 16 bits per channel became 8 bits: raw values low .. high (the lowPercent and
// highPercent percentiles of all its channel values) spread over 0 .. 255, the rest clamped.
struct Stretch {
    int low = 0, high = 0;
    double lowPercent = 0, highPercent = 0;
};
inline constexpr double kStretchLowPercent = 0.5, kStretchHighPercent = 99.5;

struct Radiograph {
    QImage image;                   // 8-bit grey or 32-bit colour
    std::optional<Stretch> stretch;  // for a 16-bit file
    int pages = 1;                   // pictures in the file (a TIFF may hold several): the first is shown
};

// A 16-bit picture (grey or colour) as 8-bit grey or 32-bit colour by a percentile stretch, chosen
// once from the picture's histogram; one pass to count, one to map.
Radiograph stretchedTo8Bit(const QImage& picture16, double lowPercent = kStretchLowPercent,
                           double highPercent = kStretchHighPercent);

// Reads a radiograph of any kind the program knows (bitmap, JPEG, PNG, TIFF; 8 or 16 bits),
// recognised by content. 16-bit pictures are stretched; everything else is kept as it is decoded
// (8-bit grey stays 8-bit). The errors of readBitmapOrJpeg and readPngOrTiff.
Radiograph readRadiograph(const QString& path, int maxWidth = 0);

// The words for the user: "16-bit, raw 255..1868 shown as 0..255 (0.5-99.5 %)".
QString stretchText(const Stretch& s);

}  // namespace radiograph
