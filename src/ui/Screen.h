#pragma once

// The screen's size in twips (15 per pixel). Tests can fix it so that layouts computed from it
// do not depend on the machine.
namespace ui::screen {

double widthTwips();
double heightTwips();
void overrideSizePixels(int width, int height);  // 0, 0 returns to the real screen

}  // namespace ui::screen
