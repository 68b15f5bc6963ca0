#include "photo/CloseUp.h"

#include <algorithm>
#include <cstdint>

#include "core/Arithmetic.h"
#include "photo/Lab.h"

namespace photo {

namespace {
int roundToInt(double v) {
    return static_cast<int>(core::roundHalfEven(v));
}
// The running sums of a band, one array per channel.
class BandSums {
  public:
    explicit BandSums(std::size_t columns) : sums_(kChannels, std::vector<float>(columns, 0.0f)) {}
    const std::vector<float>& channel(int k) const { return sums_[static_cast<std::size_t>(k - 1)]; }
    void add(const QRgb* row, const float* l, const float* a, const float* b) {
        addRow(row, l, a, b, sums_[0].size(), sums_[kRed - 1].data(), sums_[kGreen - 1].data(),
               sums_[kBlue - 1].data(), sums_[kLabL - 1].data(), sums_[kLabA - 1].data(), sums_[kLabB - 1].data(),
               sums_[kGrey - 1].data());
    }

  private:
    // A loop the vectoriser takes (an AVX2 copy is chosen at run time where there is AVX2).
    [[gnu::target_clones("arch=x86-64-v3", "default")]] static void addRow(
        const QRgb* row, const float* l, const float* a, const float* b, std::size_t n, float* red, float* green,
        float* blue, float* sumL, float* sumA, float* sumB, float* grey) {
        for (std::size_t i = 0; i < n; ++i) {
            const int r = static_cast<int>((row[i] >> 16) & 0xFF), g = static_cast<int>((row[i] >> 8) & 0xFF),
                      bl = static_cast<int>(row[i] & 0xFF);
            red[i] += static_cast<float>(r);
            green[i] += static_cast<float>(g);
            blue[i] += static_cast<float>(bl);
            sumL[i] += l[i];
            sumA[i] += a[i];
            sumB[i] += b[i];
            grey[i] += static_cast<float>((r + g + bl + 1) / 3);  // round((r + g + b) / 3): never a half
        }
    }

    std::vector<std::vector<float>> sums_;
};

}  // namespace

CropRect cropRectOf(const QRectF& frame, double photoTop, QSizeF displayed, QSize photo) {
    // A photo shown at no size maps to nothing (instead of dividing by zero).
    if (displayed.width() <= 0 || displayed.height() <= 0) return {};
    const double sx = photo.width() / displayed.width(), sy = photo.height() / displayed.height();
    return {static_cast<float>(frame.left() * sx), static_cast<float>((frame.top() - photoTop) * sy),
            static_cast<float>((frame.left() + frame.width()) * sx),
            static_cast<float>((frame.top() - photoTop + frame.height()) * sy)};
}

StripRegion stripRegion(const CropRect& crop) {
    return {roundToInt(crop.left), roundToInt(crop.top), roundToInt(crop.right - crop.left),
            roundToInt(crop.bottom - crop.top)};
}

radiograph::Adjustment closeUpAdjustment(int brightnessSlider, int contrastSlider) {
    return {radiograph::brightnessFromSlider(brightnessSlider), radiograph::contrastFromSlider(contrastSlider),
            true, radiograph::Precision::Single};
}

QImage renderStrip(const QImage& photo, const StripRegion& region, const radiograph::Adjustment& a) {
    if (region.empty() || qint64{region.columns} * region.rows > kMaxStripPixels) return {};
    QImage strip(region.columns, region.rows, QImage::Format_RGB32);
    if (strip.isNull()) return {};
    const auto table = radiograph::channelTable(a);
    const int zero = radiograph::adjustChannel(0, a);
    const QRgb outside = qRgb(radiograph::adjustChannel(-1, a), zero, zero);
    const int photoWidth = photo.width(), photoHeight = photo.height();
    // The columns of the strip that lie on the photo: first .. last (may be none).
    const int first = std::clamp(-region.left, 0, region.columns);
    const int last = std::clamp(photoWidth - region.left, first, region.columns);
    for (int y = 0; y < region.rows; ++y) {
        auto* out = reinterpret_cast<QRgb*>(strip.scanLine(y));
        const int photoRow = region.top + y;
        if (photoRow < 0 || photoRow >= photoHeight) {
            std::fill(out, out + region.columns, outside);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(photo.constScanLine(photoRow)) + region.left;
        std::fill(out, out + first, outside);
        for (int x = first; x < last; ++x) {
            const QRgb c = in[x];
            out[x] = qRgb(table[qRed(c)], table[qGreen(c)], table[qBlue(c)]);
        }
        std::fill(out + last, out + region.columns, outside);
    }
    return strip;
}

BandRows bandRows(double bandTop, double bandHeight, double closeUpHeight, const CropRect& crop) {
    if (closeUpHeight <= 0) return {crop.top, crop.top};
    const double rows = static_cast<double>(crop.bottom) - crop.top;
    const auto top = static_cast<float>(bandTop * rows / closeUpHeight + crop.top);
    return {top, static_cast<float>(bandHeight / closeUpHeight * rows + top)};
}

core::Array2<float> computeColourProfile(const QImage& photo, const CropRect& crop, const StripRegion& region,
                                         const BandRows& band) {
    const int n = roundToInt(crop.right - crop.left);
    const int m = roundToInt(crop.bottom - crop.top);
    core::Array2<float> profile(0, std::max(n, 0) + 1, 0, kChannels, 0.0f);
    if (n < 0 || m < 0) return profile;
    // Sums per channel and column, rows in ascending order as the means have always been summed.
    const auto columns = static_cast<std::size_t>(n) + 1;
    BandSums sums(columns);
    const int photoWidth = photo.width(), photoHeight = photo.height();
    // One band row at a time: its pixels (a point outside the photo reads as -1, whose red -1
    // becomes 0, so it counts as black), their L*a*b*, then the sums.
    std::vector<QRgb> row(columns, 0);
    std::vector<float> l(columns), a(columns), b(columns);
    const long first = std::clamp<long>(-static_cast<long>(region.left), 0, static_cast<long>(columns));
    const long last = std::clamp<long>(photoWidth - static_cast<long>(region.left), first, static_cast<long>(columns));
    for (int j = 0; j <= m; ++j) {
        const float rowPosition = crop.top + static_cast<float>(j);
        if (!(band.top < rowPosition && rowPosition <= band.bottom)) continue;
        const int photoRow = region.top + j;
        std::fill(row.begin(), row.end(), QRgb{0});
        if (photoRow >= 0 && photoRow < photoHeight && last > first) {
            const auto* in = reinterpret_cast<const QRgb*>(photo.constScanLine(photoRow)) + region.left;
            std::copy(in + first, in + last, row.begin() + first);
        }
        rgbToLabFast(row.data(), columns, l.data(), a.data(), b.data());
        sums.add(row.data(), l.data(), a.data(), b.data());
    }
    // The band's nominal height; a band thinner than half a row would give 0.
    const int divisor = std::max(1, roundToInt(static_cast<double>(band.bottom - band.top)));
    for (int k = 1; k <= kChannels; ++k) {
        const std::vector<float>& channel = sums.channel(k);
        for (std::size_t i = 0; i < columns; ++i)
            profile(static_cast<long>(i), k) = channel[i] / static_cast<float>(divisor);
    }
    return profile;
}

std::vector<ProfileCurve> profileCurves(ColourModel model, float s) {
    switch (model) {
        case ColourModel::Rgb:
            return {{kRed, 200, s}, {kGreen, 250, s}, {kBlue, 300, s}};
        case ColourModel::Lab:
            return {{kLabL, 200, 3 * s}, {kLabA, 200, 3 * s}, {kLabB, 250, 3 * s}};
        case ColourModel::Grey:
            return {{kGrey, 300, 2 * s}};
    }
    return {};
}

float draggedProfileScale(float scaleAtGrab, double grabY, double y, double closeUpHeight) {
    if (closeUpHeight <= 0) return scaleAtGrab;
    return static_cast<float>(scaleAtGrab * (1 + 0.1 * (grabY - y) / closeUpHeight));
}

}  // namespace photo
