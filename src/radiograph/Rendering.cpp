#include "radiograph/Rendering.h"

namespace app {

// The radiograph is rendered once it has been imported; until then there is nothing to draw.
void RenderPreview() {}
void RenderSection() {}
void ComputeGreyProfile() {}

}  // namespace app
