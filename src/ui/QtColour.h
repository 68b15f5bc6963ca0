#pragma once

#include <QColor>

#include "core/Colour.h"

// The packed colour <-> Qt's QColor, for painting and the colour dialog.
namespace ui {

inline QColor toQColor(core::Colour c) {
    return QColor(core::redOf(c), core::greenOf(c), core::blueOf(c));
}
inline core::Colour fromQColor(const QColor& q) {
    return core::rgb(q.red(), q.green(), q.blue());
}

}  // namespace ui
