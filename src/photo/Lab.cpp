#include "photo/Lab.h"

#include <algorithm>
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

constexpr double kInverseWhiteX = 1 / kWhiteX, kInverseWhiteY = 1 / kWhiteY, kInverseWhiteZ = 1 / kWhiteZ;

// The cube roots of n values 0 <= v < 2^100 in place, branch-free so that the loop runs on
// vectors (an AVX2 copy is chosen at run time where the processor has it): a seed for v^(-1/3)
// from the bits of the Single nearest v, three Newton steps in single and one in double
// precision (each step squares the relative error: about 5e-2, 7e-3, 2e-4, 1e-7, then 1e-13),
// and the root as v * (v^(-1/3))^2. Zero gives zero.
[[gnu::target_clones("arch=x86-64-v3", "default")]] void cubeRootsInPlace(double* v, std::size_t n) {
    constexpr std::uint32_t kInverseCubeRootSeed = 0x54a21d2au;
    for (std::size_t k = 0; k < n; ++k) {
        const double x = v[k];
        const auto xf = static_cast<float>(x);
        float r = std::bit_cast<float>(kInverseCubeRootSeed - std::bit_cast<std::uint32_t>(xf) / 3u);
        r = r * (4.0f - xf * r * r * r) * (1.0f / 3);
        r = r * (4.0f - xf * r * r * r) * (1.0f / 3);
        r = r * (4.0f - xf * r * r * r) * (1.0f / 3);
        double rd = r;
        rd = rd * (4.0 - x * rd * rd * rd) * (1.0 / 3);
        v[k] = x * rd * rd;
    }
}

// Colours converted a batch at a time: the ratios to the white of all, their cube roots, then
// the results.
constexpr std::size_t kBatch = 256;

[[gnu::target_clones("arch=x86-64-v3", "default")]] void convertBatch(const std::uint32_t* colours,
                                                                       std::size_t count, float* l, float* a,
                                                                       float* b) {
    const std::array<double, 256>& gamma = gammaTable();
    double fx[kBatch], fy[kBatch], fz[kBatch];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t c = colours[i];
        const Tristimulus s = tristimulus(gamma[(c >> 16) & 0xFF], gamma[(c >> 8) & 0xFF], gamma[c & 0xFF]);
        fx[i] = s.x * kInverseWhiteX;
        fy[i] = s.y * kInverseWhiteY;
        fz[i] = s.z * kInverseWhiteZ;
    }
    cubeRootsInPlace(fx, count);
    cubeRootsInPlace(fy, count);
    cubeRootsInPlace(fz, count);
    for (std::size_t i = 0; i < count; ++i) {
        l[i] = static_cast<float>(116 * fy[i] - 16);
        a[i] = static_cast<float>(500 * (fx[i] - fy[i]));
        b[i] = static_cast<float>(200 * (fy[i] - fz[i]));
    }
}

// Where the fast cube root holds (the photo's ratios lie far inside).
constexpr double kSmallestFast = 1e-30, kLargestFast = 1e30;
}  // namespace

double cubeRoot(double x) {
    if (!(x >= kSmallestFast && x <= kLargestFast)) return std::cbrt(x);
    cubeRootsInPlace(&x, 1);
    return x;
}

Lab rgbToLab(double r, double g, double b) {
    const Tristimulus t =
        tristimulus(std::pow(r / 255, kGamma), std::pow(g / 255, kGamma), std::pow(b / 255, kGamma));
    return labOf(t, [](double v) { return std::cbrt(v); });
}

Lab rgbToLabFast(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::uint32_t colour = std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
    Lab lab;
    convertBatch(&colour, 1, &lab.l, &lab.a, &lab.b);
    return lab;
}

void rgbToLabFast(const std::uint32_t* pixels, std::size_t n, float* l, float* a, float* b) {
    for (std::size_t start = 0; start < n; start += kBatch)
        convertBatch(pixels + start, std::min(kBatch, n - start), l + start, a + start, b + start);
}

}  // namespace photo
