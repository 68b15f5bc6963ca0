#include "pointer/Pointer.h"

#include "app/Forms.h"
#include "app/SharedState.h"

namespace app {

void ClearCurvePointers() {
    for (int k = 1; k <= 6; ++k) curveWindow(k).Picture1->Cls();
    if (ElasticShown) DrawElasticOverlay();
}

void DrawElasticOverlay() {}

}  // namespace app
