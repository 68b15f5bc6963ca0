#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace radiograph {

// The greyscale profile: element i (1..W) is the mean grey of radiograph column W - i over the
// band rows round(upperY) .. round(lowerY), each pixel's grey being round((r + g + b) / 3) of its
// own values (no brightness or contrast). The divisor is lowerY - upperY + 1, from the unrounded
// line positions. Element 0 is 0.
//
// Band lines that cross are taken in their order on the image (the band is what lies between
// them). Rows outside the image have no pixels: they count as the mean of the rows inside, so a
// lower line on the picture's bottom edge averages the rows that exist. Every mean is clamped to
// 0..255 (the unrounded divisor can fall below the number of rows summed). A band with no rows in
// the image gives 0 everywhere; nothing is divided by zero.
std::vector<std::int16_t> greyProfile(const QImage& source, double upperY, double lowerY);

}  // namespace radiograph
