#include "ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/Twips.h"

namespace ui::screen {

namespace {
int gOverrideWidth = 0;
int gOverrideHeight = 0;
QPoint gOverrideOrigin;

QSize realSize() {
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->size();
    return QSize(1024, 768);
}
}  // namespace

double widthTwips() {
    return twipsPerPixel() * (gOverrideWidth > 0 ? gOverrideWidth : realSize().width());
}

double heightTwips() {
    return twipsPerPixel() * (gOverrideHeight > 0 ? gOverrideHeight : realSize().height());
}

QRect availablePixels() {
    if (gOverrideWidth > 0 && gOverrideHeight > 0)
        return QRect(gOverrideOrigin, QPoint(gOverrideWidth - 1, gOverrideHeight - 1));
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry();
    return QRect(QPoint(0, 0), realSize());
}

void overrideSizePixels(int width, int height, QPoint areaOrigin) {
    gOverrideWidth = width;
    gOverrideHeight = height;
    gOverrideOrigin = areaOrigin;
}

}  // namespace ui::screen
