#pragma once

namespace app {

void RedrawCurves();
void RedrawGreyCurve();
void DrawMarkers();

}  // namespace app
