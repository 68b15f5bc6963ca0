#pragma once

namespace app {

// Removes the pointer lines from the six curve plots and redraws the elastic overlay when shown.
void ClearCurvePointers();
// Places (if the elastic window moved) and draws the elastic marks over the six curve plots.
void DrawElasticOverlay();

}  // namespace app
