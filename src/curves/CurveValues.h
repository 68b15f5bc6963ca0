#pragma once

#include <QString>
#include <span>

#include "core/CurveTable.h"

// The numbers behind the curve windows: which values a window plots and the value range of its
// plot. No windows here; the curve windows read their controls, call these and redraw.
namespace curves {

inline constexpr float kMissingValue = -9999.0f;  // a value that is not drawn

// The values of one window at positions 1..values.size() - 1 (values[0] is left alone): column
// `column` of the curve table, or with `ratioColumn` > 0 its quotient by that column. A zero
// denominator, and a cell that holds no number, give kMissingValue.
void fillCurveValues(const core::CurveTable& profile, int column, int ratioColumn, std::span<float> values);

// Positions whose measurement the scanner marked invalid (field `validityField` of the XRF table
// holds the number 0) become gaps; every other value stays.
void hideInvalidRows(const core::VariantTable& data, int validityField, std::span<float> values);

struct ValueRange {
    float top = 0;
    float bottom = 0;
    bool autoRange = false;  // the top was filled in automatically and is still to be rounded
};

// The value range of a plot from its two boxes (an empty box is filled from the values) and the
// window's AutoRange flag. An automatic top above 1 is rounded up to a whole step; an automatic
// bottom is rounded down, unless a value is missing, which makes it 0. A top of exactly 1 becomes 2.
// A bottom the user typed is never rounded, so redrawing never moves it.
ValueRange curveValueRange(std::span<const float> values, const QString& topText, const QString& bottomText,
                           bool autoRange);

// The text a range box shows for a value: its standard single-precision form. A box whose text
// already reads as that value keeps it (nothing is rewritten under the typing user's cursor).
QString rangeBoxText(const QString& current, float value);

}  // namespace curves

namespace curves {

// The tool tip of a position from its stored label and note ("---", "#---" or "#" + text): each
// without its leading "#"; "label (note)" when both are set, else the one that is.
QString markerToolTip(const QString& label, const QString& note);

}  // namespace curves
