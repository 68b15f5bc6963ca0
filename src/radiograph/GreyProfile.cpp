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
    constexpr double kFarOutside = 1e9;  // rows this far away only matter as "outside"
    upperY = std::clamp(upperY, -kFarOutside, kFarOutside);
    lowerY = std::clamp(lowerY, -kFarOutside, kFarOutside);
    const long top = static_cast<long>(core::roundHalfEven(upperY));
    const long bottom = static_cast<long>(core::roundHalfEven(lowerY));
    const long firstRow = std::max<long>(top, 0);
    const long lastRow = std::min<long>(bottom, source.height() - 1);
    if (lastRow < firstRow) return profile;
    // Rows beyond the picture have no pixels: they count as the mean of the rows inside, so a band
    // reaching past an edge gives what the same band gives inside a taller picture of that grey.
    const double rowsSummed = static_cast<double>(bottom - top + 1);
    const double rowsInside = static_cast<double>(lastRow - firstRow + 1);
    const double divisor = (lowerY - upperY + 1) * rowsInside / rowsSummed;

    // Row by row within blocks of columns, so the image is read in memory order and the sums of
    // a block stay in the fastest cache while its rows pass.
    std::vector<std::uint32_t> sum(static_cast<std::size_t>(width), 0);
    const bool grey = source.format() == QImage::Format_Grayscale8;
    constexpr int kBlock = 8192;  // 32 kB of sums; 8 to 32 kB of each row's pixels read in one stream
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const int x1 = std::min(width, x0 + kBlock);
        std::uint32_t* __restrict acc = sum.data();
        for (long y = firstRow; y <= lastRow; ++y) {
            const uchar* __restrict row = source.constScanLine(static_cast<int>(y));
            if (grey) {
                for (int x = x0; x < x1; ++x) acc[x] += row[x];
                continue;
            }
            // Bytes of a 32-bit pixel: blue, green, red, alpha. round(s / 3) = (s + 1) / 3 for a
            // whole s (never a half); for s + 1 <= 767 that is the high half of (s + 1) * 21846,
            // a 16-bit multiply the compiler vectorises.
            for (int x = x0; x < x1; ++x) {
                const std::uint16_t n =
                    static_cast<std::uint16_t>(row[4 * x] + row[4 * x + 1] + row[4 * x + 2] + 1);
                acc[x] += static_cast<std::uint16_t>((static_cast<std::uint32_t>(n) * 21846u) >> 16);
            }
        }
    }
    for (int x = 0; x < width; ++x) {
        const double mean = std::clamp(core::roundHalfEven(sum[x] / divisor), 0.0, 255.0);
        profile[static_cast<std::size_t>(width - x)] = static_cast<std::int16_t>(mean);
    }
    return profile;
}

}  // namespace radiograph
