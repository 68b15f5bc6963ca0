#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// A synthetic varved core for tests, benchmarks and demonstrations, made from nothing but numbers.
//
// The core lies horizontally. Its columns alternate light and dark laminae 4..12 pixels thick;
// every column is uniform over the core's middle rows (height/4 .. 3*height/4 - 1), so the grey
// profile of a band inside them is known exactly; the rows above and below are the darker edges
// of the core (half the grey). A colour core tints each pixel (+10 red, -10 blue), which keeps
// the grey mean of every pixel.
namespace synth {

struct VarvedCore {
    QImage radiograph;            // Format_RGB32 (colour) or Format_Grayscale8 (grey)
    std::vector<int> columnGrey;  // the grey of each column in the middle rows
    std::vector<int> boundaries;  // columns where a new lamina starts (left to right), after column 0
    int middleTop = 0;            // first row of the uniform middle
    int middleBottom = 0;         // last row of the uniform middle
};

VarvedCore makeVarvedCore(int width, int height, bool colour = false, unsigned seed = 1);
// The same core's laminae without its picture: columnGrey and boundaries only.
VarvedCore layVarvedCore(int width, unsigned seed = 1);

// A core for judging boundary proposals: laminae 6..60 columns thick, each with its own contrast
// c (30..80 grey levels; a lamina lies c/2 above or below the slowly wandering mean grey, light and
// dark in turn), and white noise on every column (as a band's grey profile has it) with a standard
// deviation of 0.1, 0.25 or 0.5 times its lamina's contrast at noise level 1, 2 or 3 (0: none).
VarvedCore makeNoisyCore(int width, int height, int noiseLevel, unsigned seed = 1);

// How well found boundaries meet the true ones: each true boundary matched to at most one found
// within `tolerance` columns (nearest first, in order); recall = matched / true, precision =
// matched / found (1 when none were found, or none were there).
struct Agreement {
    double recall = 1, precision = 1;
};
Agreement agreement(const std::vector<int>& truth, const std::vector<long>& found, int tolerance);

// The XRF table an Itrax scanner would write for the core, one row per radiograph column
// (position 1 = the right-most column): two preamble lines, the header from "filename", then
// rows of `fields` fields: spectrum file name, position (mm, `stepMicrons` apart), eight fields of
// run values (field 9 "kcps" included), then element counts. Fe, Ti, K and Zr are high in the
// dark laminae and Mn in the light ones, so every element curve changes at the core's boundaries.
//   tabs = true: the scanner's own form (tab-separated, a tab ending every line, CR LF, no line
//   end after the last row); false: the comma form with quoted texts.
// fields >= 16.
QByteArray makeXrfTable(const VarvedCore& core, bool tabs, int fields = 55, int stepMicrons = 200,
                        unsigned seed = 2);

// The column names of such a table after "filename", in order.
std::vector<QString> xrfColumnNames(int fields);

}  // namespace synth
