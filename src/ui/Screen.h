#pragma once

#include <QRect>

// The screen's size in twips (15 per pixel). Tests can fix it so that layouts computed from it
// do not depend on the machine.
namespace ui::screen {

double widthTwips();
double heightTwips();
// 0, 0 returns to the real screen. The area windows may take begins at `areaOrigin`, as beside a
// desktop's panel at the screen's left or top.
void overrideSizePixels(int width, int height, QPoint areaOrigin = {});
// The area windows may take (without the desktop's panels), in pixels.
QRect availablePixels();

}  // namespace ui::screen
