#pragma once

#include <cstddef>
#include <cstdint>

// The colour of a photo pixel as CIE L*a*b*, by the program's own formula: each channel raised
// to the power 2.2, the tristimulus values of a fixed matrix, the reference white
// (98.072, 100, 118.225), and the cube root for every ratio (no linear segment near black), so
// that profiles measured with earlier versions compare.
namespace photo {

struct Lab {
    float l = 0, a = 0, b = 0;
};

// r, g, b in 0..255. The reference: powers and cube roots from the library, in double precision.
Lab rgbToLab(double r, double g, double b);

// The same formula for 8-bit channels, fast enough for every pixel of a close-up band: the
// powers come from a table of the 256 channel values, the ratios to the white are products with
// its inverse, and the cube roots are computed many at a time (relative error below 1e-12). The
// results agree with rgbToLab to a few units in the last place of a Single (tested over the
// colour cube).
Lab rgbToLabFast(std::uint8_t r, std::uint8_t g, std::uint8_t b);
// The same for n 32-bit pixels (0xAARRGGBB, alpha ignored), into three arrays of n values.
void rgbToLabFast(const std::uint32_t* pixels, std::size_t n, float* l, float* a, float* b);

// The cube root of x >= 0 as rgbToLabFast takes it (relative error below 1e-12).
double cubeRoot(double x);

}  // namespace photo
