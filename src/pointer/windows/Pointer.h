#pragma once

namespace app {

// The pointer line at plot x in curve window 1 and, once XRF data are loaded, in all six windows
// (only while marking is active). Sets PointerX.
void ShowCurvePointer(double x, double sourceScaleHeight);
// The main window's "Pointer" read-out: the depth (mm) at plot x, from the first two positions.
void ShowPointerDepth(double x);
// Removes the pointer lines from the six curve plots and redraws the elastic overlay when shown.
void ClearCurvePointers();
// The elastic scale's marks over the six curve plots, from its centre, while it is shown.
void DrawElasticOverlay();

}  // namespace app
