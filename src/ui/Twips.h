#pragma once

#include <QWidget>
#include <cmath>

// Windows are placed and sized in twips, at a fixed 15 twips per screen pixel. (The user's
// "Monitor resolution" choice changes only the program's own arithmetic, never this.)
namespace ui {

inline constexpr double kTwipsPerPixel = 15.0;

// The unit a container measures its controls in.
enum class Unit { Twips, Pixels };

inline double unitsPerPixel(Unit u) {
    return u == Unit::Twips ? kTwipsPerPixel : 1.0;
}
// A length in container units -> whole screen pixels, and back.
inline int toPixels(double value, Unit u) {
    return static_cast<int>(std::lround(value / unitsPerPixel(u)));
}
inline double fromPixels(double pixels, Unit u) {
    return pixels * unitsPerPixel(u);
}

// Containers (form client areas, frames) carry their unit as a property so that a control can
// find it from its parent widget.
inline constexpr const char* kUnitProperty = "stratalyserUnit";
inline Unit unitOf(const QWidget* container) {
    if (container == nullptr) return Unit::Twips;
    const QVariant v = container->property(kUnitProperty);
    return v.isValid() && v.toInt() == static_cast<int>(Unit::Pixels) ? Unit::Pixels : Unit::Twips;
}
inline void setUnit(QWidget* container, Unit u) {
    container->setProperty(kUnitProperty, static_cast<int>(u));
}

}  // namespace ui
