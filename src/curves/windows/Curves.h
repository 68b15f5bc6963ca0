#pragma once

#include <optional>

#include "core/Places.h"
#include "core/Variant.h"

namespace app {

using core::Variant;

// The curve values and value ranges of the six windows, from their selections.
void LoadCurveValues();
// Rebuilds all six curve windows (with XRF data), or hands over to RedrawGreyCurve.
void RedrawCurves();
// Window 1 shows the greyscale profile over the section; the others only markers.
void RedrawGreyCurve();
// Whichever of the two the document has (nothing before the grey curve is first drawn).
void RedrawPlots();

// Markers. A code below 10 places that level at ClickX; the keys "1".."9" (49..57) and keypad
// 1..9 (97..105) place their level at PointerX; any other code places nothing.
void SetMarker(int code);
// A key over a plot or the preview: a digit of either keyboard to SetMarker; any other key places
// nothing and changes nothing (Backspace and Tab are keys, not the level of a click).
void SetMarkerFromKey(int keyCode);
// A change on top of the undo list (the oldest falls off): the position changed, or another kind of
// entry, and what it replaced.
void PushUndo(const Variant& position, const Variant& value);
// Clears marker, label and note and both neighbours at the boundary, label or note nearest ClickX
// a few pixels either side; beeps when there is none.
void DeleteMarker();
// Takes back the newest placement (a beep when there is none).
void UndoMarker();
// Puts back what the last Undo took back (Ctrl+Shift+Z, Ctrl+Y); beeps when there is nothing.
void RedoMarker();
// The Ctrl keys of the curve windows and the preview: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo,
// Ctrl+A switches marking off and on. Keeps CtrlDown up to date.
void UndoRedoOrActivationKey(int keyCode, int shift);
// The markers, labelled laminae and notes of the displayed range, in all six windows.
void DrawMarkers();
// Marking on or off (the "Activate" tick of every window).
void ToggleActivation();

// The data position under plot x of curve window 1: that of display column ViewLeft + (x - ScaleLeft).
core::PositionPoint positionOf(double plotX);
// The marker place of the position nearest `p` (halves to even); nothing outside positions 1..DataLength.
std::optional<core::Position> markerAt(core::PositionPoint p);
// The level 1..9 of the marker at a data position, or 0 for none (or a position beyond the data).
int MarkerLevel(core::Position position);

}  // namespace app
