#pragma once

#include <QWidget>
#include <cmath>

// Windows are placed and sized in twips: 15 to a screen pixel on an ordinary display, 12 on a
// high-density one (the user's "Monitor resolution" choice, "Low" or "High"). A change of it lays
// every window out again (ui::setTwipsPerPixel in Form.h): things measured in twips grow or shrink
// on the screen, things measured in pixels stay.
namespace ui {

inline constexpr int kLowTwipsPerPixel = 15;
inline constexpr int kHighTwipsPerPixel = 12;

namespace detail {
inline int& twipsPerPixelSetting() {
    static int twips = kLowTwipsPerPixel;
    return twips;
}
}  // namespace detail

inline int twipsPerPixel() {
    return detail::twipsPerPixelSetting();
}

// The unit a container measures its controls in.
enum class Unit { Twips, Pixels };

inline double unitsPerPixel(Unit u) {
    return u == Unit::Twips ? static_cast<double>(twipsPerPixel()) : 1.0;
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
