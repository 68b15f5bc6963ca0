#include "curves/Curves.h"

namespace app {

// The curves and markers are drawn once a radiograph has been imported.
void RedrawCurves() {}
void RedrawGreyCurve() {}
void DrawMarkers() {}

}  // namespace app
