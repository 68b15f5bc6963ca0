#pragma once

#include <QCursor>

namespace ui {

// Mouse-pointer shapes, numbered as the program's handlers name them.
enum class MousePointer : int {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    SizeAll = 5,     // four-way sizing (move)
    SizeNS = 7,      // vertical sizing
    SizeWE = 9,      // horizontal sizing
    Hourglass = 11,  // busy
};

Qt::CursorShape cursorShape(MousePointer pointer);

// The program-wide busy pointer (the hourglass over every window) while a long loop runs.
void setBusyPointer(bool busy);
bool busyPointer();

}  // namespace ui
