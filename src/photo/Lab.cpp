#include "photo/Lab.h"

#include <cmath>

namespace photo {

namespace {
constexpr double kGamma = 2.2;
constexpr double kWhiteX = 98.072, kWhiteY = 100, kWhiteZ = 118.225;
}  // namespace

Lab rgbToLab(double r, double g, double b) {
    const double rl = std::pow(r / 255, kGamma), gl = std::pow(g / 255, kGamma), bl = std::pow(b / 255, kGamma);
    // Tristimulus values, kept in single precision.
    const float x = static_cast<float>((0.3933 * rl + 0.3651 * gl + 0.1903 * bl) * 100);
    const float y = static_cast<float>((0.2123 * rl + 0.701 * gl + 0.0858 * bl) * 100);
    const float z = static_cast<float>((0.0182 * rl + 0.1117 * gl + 0.957 * bl) * 100);
    const double fy = std::cbrt(y / kWhiteY);
    return {static_cast<float>(116 * fy - 16), static_cast<float>(500 * (std::cbrt(x / kWhiteX) - fy)),
            static_cast<float>(200 * (fy - std::cbrt(z / kWhiteZ)))};
}

}  // namespace photo
