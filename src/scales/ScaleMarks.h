#pragma once

#include <vector>

#include "core/Colour.h"
#include "core/Places.h"

// The geometry of the length scales and of the elastic scale's marks, as plain numbers. Every
// loop here is bounded: a length or spacing that is zero, negative, not a number or far too large
// for the picture gives fewer marks or none, never a hang.
namespace scales {

// One filled box or line of a scale ruler, in the ruler's units: x along the scale, y 1..4.
struct RulerItem {
    bool box;  // a filled box, or a line from (x1, y1) to (x2, y2)
    double x1, y1, x2, y2;
    core::Colour colour;
};

// The ruler pattern: alternating white and black blocks of 10 units (y 1..2, `large` pairs) and of
// 1 unit (y 2..3, `small` pairs), and the dividing line at y = 2 in the opposite colours of the
// large blocks (`divider` pairs). A layer whose blocks would be narrower than a pixel of the
// picture is left out (`unitsPerPixel` = the scale's units per picture pixel).
std::vector<RulerItem> rulerPattern(long large, long small, long divider, double unitsPerPixel);

// Pair counts of the millimetre scale for a section of `length` mm: pairs i = 0 .. round(L / 20) + 1
// and i = 0 .. round(L / 2) + 1 (twice); no pairs for a length that is not a positive finite number.
struct RulerCounts {
    long large = 0, small = 0, divider = 0;
};
RulerCounts millimetreCounts(core::Millimetres length);

// The elastic scale's marks: distances d = s, 2s, ... from the centre line while d is at most
// `halfWidth`; `tooWide` when a distance passes 500 first (the scale is then left as it was).
// A spacing that is not a positive finite number gives no marks; at most 4096 marks are made.
struct ElasticMarks {
    std::vector<double> distances;
    bool tooWide = false;
};
ElasticMarks elasticMarks(double spacing, double halfWidth);

// The overlay's marks on the curves: k = s, 2s, ... up to and including the first k beyond 1000
// or beyond `width` (at most 4096). No marks for a spacing that is not a positive finite number.
std::vector<double> overlayMarks(double spacing, double width);

}  // namespace scales
