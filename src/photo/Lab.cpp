#include "photo/Lab.h"

#include <array>
#include <bit>
#include <cmath>

namespace photo {

namespace {
constexpr double kGamma = 2.2;
constexpr double kWhiteX = 98.072, kWhiteY = 100, kWhiteZ = 118.225;

struct Tristimulus {
    float x, y, z;  // kept in single precision, as the program always has
};

Tristimulus tristimulus(double rl, double gl, double bl) {
    return {static_cast<float>((0.3933 * rl + 0.3651 * gl + 0.1903 * bl) * 100),
            static_cast<float>((0.2123 * rl + 0.701 * gl + 0.0858 * bl) * 100),
            static_cast<float>((0.0182 * rl + 0.1117 * gl + 0.957 * bl) * 100)};
}

template <class CubeRoot>
Lab labOf(const Tristimulus& t, CubeRoot cbrt) {
    const double fy = cbrt(t.y / kWhiteY);
    return {static_cast<float>(116 * fy - 16), static_cast<float>(500 * (cbrt(t.x / kWhiteX) - fy)),
            static_cast<float>(200 * (fy - cbrt(t.z / kWhiteZ)))};
}

// (c / 255) ^ 2.2 for every 8-bit channel value.
const std::array<double, 256>& gammaTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v) t[static_cast<std::size_t>(v)] = std::pow(v / 255.0, kGamma);
        return t;
    }();
    return table;
}

// Seeds for y^(-1/3), y = m * 2^rho with m in [1, 2) and rho in 0..2: a chord over each of 256
// bins of m, good to about 19 bits; two Newton steps then reach the precision of a double.
constexpr int kSeedBinBits = 8;
constexpr int kSeedBins = 1 << kSeedBinBits;
constexpr int kMantissaBits = 52;
constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << kMantissaBits) - 1;
constexpr int kExponentBias = 1023;

struct Chord {
    double at, slope;  // seed = at + slope * m
};

const std::array<std::array<Chord, kSeedBins>, 3>& seedTable() {
    static const auto table = [] {
        std::array<std::array<Chord, kSeedBins>, 3> t{};
        for (int rho = 0; rho < 3; ++rho) {
            for (int bin = 0; bin < kSeedBins; ++bin) {
                const double m0 = 1.0 + static_cast<double>(bin) / kSeedBins;
                const double m1 = 1.0 + static_cast<double>(bin + 1) / kSeedBins;
                const double f0 = 1.0 / std::cbrt(std::ldexp(m0, rho));
                const double f1 = 1.0 / std::cbrt(std::ldexp(m1, rho));
                const double slope = (f1 - f0) / (m1 - m0);
                t[static_cast<std::size_t>(rho)][static_cast<std::size_t>(bin)] = {f0 - slope * m0, slope};
            }
        }
        return t;
    }();
    return table;
}

// Below this (and for zero) the library's cube root is used: no photo pixel comes near it.
constexpr double kSmallestTabled = 1e-300;
}  // namespace

double cubeRoot(double x) {
    if (!(x >= kSmallestTabled) || std::isinf(x)) return std::cbrt(x);
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const int exponent = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
    // exponent = 3 q + rho with rho in 0..2, rounding q towards minus infinity.
    const int q = (exponent >= 0 ? exponent : exponent - 2) / 3;
    const int rho = exponent - 3 * q;
    const std::uint64_t mantissa = bits & kMantissaMask;
    const double m = std::bit_cast<double>(mantissa | (std::uint64_t{kExponentBias} << kMantissaBits));
    const Chord& c = seedTable()[static_cast<std::size_t>(rho)]
                                [static_cast<std::size_t>(mantissa >> (kMantissaBits - kSeedBinBits))];
    const double y = m * static_cast<double>(1 << rho);
    double r = c.at + c.slope * m;  // y^(-1/3)
    r = r * (4 - y * r * r * r) * (1.0 / 3);
    r = r * (4 - y * r * r * r) * (1.0 / 3);
    const double r2 = r * r;
    double root = y * r2;                                  // y^(1/3), in [1, 2)
    root += (y - root * root * root) * r2 * (1.0 / 3);  // a last Newton step, 1 / root^2 = r^2
    return root * std::bit_cast<double>(static_cast<std::uint64_t>(kExponentBias + q) << kMantissaBits);
}

Lab rgbToLab(double r, double g, double b) {
    const Tristimulus t =
        tristimulus(std::pow(r / 255, kGamma), std::pow(g / 255, kGamma), std::pow(b / 255, kGamma));
    return labOf(t, [](double v) { return std::cbrt(v); });
}

Lab rgbToLabFast(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::array<double, 256>& gamma = gammaTable();
    return labOf(tristimulus(gamma[r], gamma[g], gamma[b]), cubeRoot);
}

}  // namespace photo
