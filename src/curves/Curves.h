#pragma once

namespace app {

// Fills the curve values and value ranges of the six windows from their selections.
void LoadCurveValues();
// Rebuilds all six curve windows (with XRF data), or hands over to RedrawGreyCurve.
void RedrawCurves();
// Window 1 shows the greyscale profile over the section; the others only markers.
void RedrawGreyCurve();
// The boundary markers, labelled laminae and notes of the displayed range in all six windows.
void DrawMarkers();

}  // namespace app
