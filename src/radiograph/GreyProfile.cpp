#include "radiograph/GreyProfile.h"

#include <algorithm>
#include <cmath>

#include "core/Arithmetic.h"
#include "radiograph/Adjust.h"

namespace radiograph {

std::vector<std::int16_t> greyProfile(const QImage& source, double upperY, double lowerY) {
    const int width = source.width();
    std::vector<std::int16_t> profile(static_cast<std::size_t>(width) + 1, 0);
    if (width == 0 || !std::isfinite(upperY) || !std::isfinite(lowerY)) return profile;
    if (lowerY < upperY) std::swap(upperY, lowerY);
    const long top = static_cast<long>(core::roundHalfEven(upperY));
    const long bottom = static_cast<long>(core::roundHalfEven(lowerY));
    const long firstRow = std::max<long>(top, 0);
    const long lastRow = std::min<long>(bottom, source.height() - 1);
    const long missingRows = (bottom - top + 1) - std::max<long>(lastRow - firstRow + 1, 0);
    const double divisor = lowerY - upperY + 1 - missingRows;
    if (lastRow < firstRow || divisor <= 0) return profile;

    // Row by row, so the image is read in memory order.
    std::vector<std::uint32_t> sum(static_cast<std::size_t>(width), 0);
    const bool grey = source.format() == QImage::Format_Grayscale8;
    for (long y = firstRow; y <= lastRow; ++y) {
        const uchar* row = source.constScanLine(static_cast<int>(y));
        if (grey) {
            for (int x = 0; x < width; ++x) sum[x] += row[x];
        } else {
            const QRgb* pixels = reinterpret_cast<const QRgb*>(row);
            for (int x = 0; x < width; ++x) {
                const QRgb p = pixels[x];
                sum[x] += static_cast<std::uint32_t>(greyOfSum(qRed(p) + qGreen(p) + qBlue(p)));
            }
        }
    }
    for (int x = 0; x < width; ++x) {
        profile[static_cast<std::size_t>(width - x)] =
            static_cast<std::int16_t>(core::roundHalfEven(sum[x] / divisor));
    }
    return profile;
}

}  // namespace radiograph
