#include "ui/Cursor.h"

#include <QApplication>

namespace ui {

Qt::CursorShape cursorShape(MousePointer pointer) {
    switch (pointer) {
        case MousePointer::Default:
        case MousePointer::Arrow:
            return Qt::ArrowCursor;
        case MousePointer::Cross:
            return Qt::CrossCursor;
        case MousePointer::SizeAll:
            return Qt::SizeAllCursor;
        case MousePointer::SizeNS:
            return Qt::SizeVerCursor;
        case MousePointer::SizeWE:
            return Qt::SizeHorCursor;
        case MousePointer::Hourglass:
            return Qt::WaitCursor;
    }
    return Qt::ArrowCursor;
}

namespace {
bool gBusy = false;
}

// Setting the busy pointer twice and restoring it once leaves the normal pointer, as a program-wide
// pointer property would: the override stack never holds more than one entry of ours.
void setBusyPointer(bool busy) {
    if (busy == gBusy) return;
    gBusy = busy;
    if (qApp == nullptr) return;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

bool busyPointer() {
    return gBusy;
}

}  // namespace ui
