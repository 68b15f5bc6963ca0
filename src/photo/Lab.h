#pragma once

// The colour of a photo pixel as CIE L*a*b*, by the program's own formula: each channel raised
// to the power 2.2, the tristimulus values of a fixed matrix, the reference white
// (98.072, 100, 118.225), and the cube root for every ratio (no linear segment near black), so
// that profiles measured with earlier versions compare.
namespace photo {

struct Lab {
    float l = 0, a = 0, b = 0;
};

// r, g, b in 0..255.
Lab rgbToLab(double r, double g, double b);

}  // namespace photo
