#pragma once

namespace app {

void RenderPreview();
void RenderSection();
void ComputeGreyProfile();

}  // namespace app
