#include "radiograph/Adjust.h"

#include <cmath>

#include "core/Arithmetic.h"

namespace radiograph {

int brightnessFromSlider(int value) {
    return static_cast<int>(core::roundHalfEven(value * 255 / 100.0));
}

float contrastFromSlider(int value) {
    return static_cast<float>(std::pow(10.0, value / 100.0));
}

int adjustChannel(int v, const Adjustment& a) {
    double rounded = 0;
    if (a.precision == Precision::Single) {
        const float t = a.contrast * static_cast<float>(v) + static_cast<float>(a.brightness);
        rounded = core::roundHalfEven(static_cast<double>(t));
    } else {
        rounded = core::roundHalfEven(static_cast<double>(a.contrast) * v + a.brightness);
    }
    return static_cast<int>(std::clamp(rounded, 0.0, 255.0));
}

core::Colour adjustedColour(int r, int g, int b, const Adjustment& a) {
    const int R = adjustChannel(r, a), G = adjustChannel(g, a), B = adjustChannel(b, a);
    if (a.colour) return core::rgb(R, G, B);
    const int grey = greyOfSum(R + G + B);
    return core::rgb(grey, grey, grey);
}

std::array<std::uint8_t, 256> channelTable(const Adjustment& a) {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = static_cast<std::uint8_t>(adjustChannel(v, a));
    return table;
}

QImage normalisedSource(const QImage& decoded) {
    if (decoded.format() == QImage::Format_RGB32 || decoded.format() == QImage::Format_Grayscale8)
        return decoded;
    if (decoded.format() == QImage::Format_Indexed8 && decoded.allGray()) {
        return decoded.convertToFormat(QImage::Format_Grayscale8);
    }
    return decoded.convertToFormat(QImage::Format_RGB32);
}

namespace {

// The adjusted output pixel for each possible 8-bit grey source value, and a row converter for
// 32-bit sources. Both produce QRgb (0xFFRRGGBB).
struct Converter {
    explicit Converter(const Adjustment& a) : adjustment(a), table(channelTable(a)) {
        for (int v = 0; v < 256; ++v) {
            const int out = table[v];  // R = G = B: the grey mean is the channel itself
            greyPixel[v] = qRgb(out, out, out);
        }
        // The colour of a point outside the picture (-1): channels -1, 0, 0.
        const core::Colour outside = adjustedColour(-1, 0, 0, a);
        outsidePixel = core::toQRgb(outside);
    }
    QRgb fromRgb32(QRgb p) const {
        const int R = table[qRed(p)], G = table[qGreen(p)], B = table[qBlue(p)];
        if (adjustment.colour) return qRgb(R, G, B);
        const int grey = greyOfSum(R + G + B);
        return qRgb(grey, grey, grey);
    }
    Adjustment adjustment;
    std::array<std::uint8_t, 256> table;
    std::array<QRgb, 256> greyPixel{};
    QRgb outsidePixel = 0;
};

}  // namespace

QImage renderPreview(const QImage& source, int width, int height, double sx, double sy, const Adjustment& a) {
    QImage out(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    if (out.isNull()) return out;
    const Converter convert(a);
    const bool grey = source.format() == QImage::Format_Grayscale8;
    // Source column of every output column, -1 when it falls outside.
    std::vector<int> column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const double c = core::roundHalfEven(sx * x);
        column[x] = (c >= 0 && c < source.width()) ? static_cast<int>(c) : -1;
    }
    for (int y = 0; y < height; ++y) {
        const double r = core::roundHalfEven(sy * y);
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (!(r >= 0 && r < source.height())) {
            std::fill(dst, dst + width, convert.outsidePixel);
            continue;
        }
        const uchar* row = source.constScanLine(static_cast<int>(r));
        for (int x = 0; x < width; ++x) {
            const int c = column[x];
            if (c < 0) {
                dst[x] = convert.outsidePixel;
            } else if (grey) {
                dst[x] = convert.greyPixel[row[c]];
            } else {
                dst[x] = convert.fromRgb32(reinterpret_cast<const QRgb*>(row)[c]);
            }
        }
    }
    return out;
}

QImage renderSection(const QImage& source, long viewLeft, long viewRight, QSize size, const Adjustment& a,
                     core::Colour back) {
    QImage out(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if (out.isNull()) return out;
    out.fill(core::toQRgb(back));
    const Converter convert(a);
    // Columns of the section that lie inside both the source and the output picture.
    const long first = std::max<long>(viewLeft, 0);
    const long last =
        std::min<long>({viewRight, static_cast<long>(source.width()) - 1, viewLeft + out.width() - 1});
    if (last < first) return out;
    const int rows = out.height();
    const qint64 sourceRows = source.height();
    const bool grey = source.format() == QImage::Format_Grayscale8;
    for (int y = 0; y < rows; ++y) {
        const auto sourceRow = static_cast<int>(std::min<qint64>((2 * qint64{y} + 1) * sourceRows / (2 * rows), sourceRows - 1));
        const uchar* row = source.constScanLine(sourceRow);
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));  // output column = x - viewLeft
        if (grey) {
            for (long x = first; x <= last; ++x) dst[x - viewLeft] = convert.greyPixel[row[x]];
        } else {
            const QRgb* src = reinterpret_cast<const QRgb*>(row);
            for (long x = first; x <= last; ++x) dst[x - viewLeft] = convert.fromRgb32(src[x]);
        }
    }
    return out;
}

}  // namespace radiograph
