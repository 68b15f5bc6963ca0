#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "core/Colour.h"

// The adjusted colour of a radiograph pixel: brightness and contrast per channel, rounded (halves
// to even) and clamped to 0..255, then either the colour or the grey mean of the clamped channels.
//
//   R = clamp(round(contrast * r + brightness))      grey = round((R + G + B) / 3)
//
// The preview computes in double precision, the section background in single precision; a
// half-way value may round differently between the two. Everything here works on whole rows
// through lookup tables.
namespace radiograph {

enum class Precision { Double, Single };

struct Adjustment {
    int brightness = 0;     // grey levels, round(p * 255 / 100) for slider value p
    float contrast = 1.0f;  // 10 ^ (q / 100) for slider value q
    bool colour = false;    // "Colour" ticked: keep the adjusted colours
    Precision precision = Precision::Double;
};

// Brightness and contrast from the two slider values (-100..100).
int brightnessFromSlider(int value);
float contrastFromSlider(int value);

// One channel value (may be negative for a point outside the picture) adjusted and clamped.
int adjustChannel(int v, const Adjustment& a);
// The packed output colour for source channels r, g, b.
core::Colour adjustedColour(int r, int g, int b, const Adjustment& a);

// The 256 adjusted values of a channel.
std::array<std::uint8_t, 256> channelTable(const Adjustment& a);

// round(s / 3) with halves to even, for a sum of three whole channel values: s / 3 is never a half.
inline int greyOfSum(int s) {
    return s >= 0 ? (s + 1) / 3 : -((-s + 1) / 3);
}

// The preview: W x H pixels sampled from the source at (round(sx * x), round(sy * y)), each
// adjusted; points outside the source read as the colour -1.
QImage renderPreview(const QImage& source, int width, int height, double sx, double sy, const Adjustment& a);

// The section background: columns viewLeft..viewRight (inside the source), adjusted, at output
// column x - viewLeft; the rest of the output keeps the back colour. The source's rows are spread
// over the output's height: output row y shows the nearest source row, floor((y + 1/2) * rows /
// height), so a plot of any height shows the whole height of the radiograph.
QImage renderSection(const QImage& source, long viewLeft, long viewRight, QSize size, const Adjustment& a,
                     core::Colour back);

// The source as 32-bit or 8-bit grey (what the program keeps in memory), converting other formats.
QImage normalisedSource(const QImage& decoded);

}  // namespace radiograph
