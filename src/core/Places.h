#pragma once

#include <compare>
#include <type_traits>

#include "core/Arithmetic.h"

// Where along the core section something lies, said in one of three ways, each its own type so one
// is never passed for another:
//   Position     a data position: 1 at the radiograph's right-most column, N (its width) at the
//                left-most. Markers, curve values and the XRF rows placed on the columns are kept
//                by position.
//   Column       a display column, counted from the radiograph's left edge: 0 .. N - 1, as the
//                preview, the section and the plots show it (a plot x is a column).
//   Millimetres  the scanner's coordinate along the section, or a length along it.
// Position and Column are whole places (indexes); PositionPoint and ColumnPoint lie between them,
// as a mouse or the pointer over a plot does. Every conversion between the three is here.
namespace core {

template <class Axis, class Rep>
struct Place {
    Rep value{};
    constexpr Place() = default;
    constexpr explicit Place(Rep v) : value(v) {}
    // A whole place is also a point on its own axis (never on the other one).
    template <class Whole>
        requires(!std::is_same_v<Whole, Rep>)
    constexpr Place(Place<Axis, Whole> whole) : value(static_cast<Rep>(whole.value)) {}
    friend constexpr auto operator<=>(const Place&, const Place&) = default;
    // Steps along the same axis, and how many steps lie between two places.
    constexpr Place operator+(Rep steps) const { return Place(value + steps); }
    constexpr Place operator-(Rep steps) const { return Place(value - steps); }
    constexpr Rep operator-(Place other) const { return value - other.value; }
};

struct PositionAxisTag;
struct ColumnAxisTag;
using Position = Place<PositionAxisTag, long>;
using PositionPoint = Place<PositionAxisTag, double>;
using Column = Place<ColumnAxisTag, long>;
using ColumnPoint = Place<ColumnAxisTag, double>;

struct Millimetres {
    double value = 0;
    constexpr Millimetres() = default;
    constexpr explicit Millimetres(double v) : value(v) {}
    friend constexpr auto operator<=>(const Millimetres&, const Millimetres&) = default;
    constexpr Millimetres operator+(Millimetres other) const { return Millimetres(value + other.value); }
    constexpr Millimetres operator-(Millimetres other) const { return Millimetres(value - other.value); }
    constexpr Millimetres operator*(double factor) const { return Millimetres(value * factor); }
    constexpr Millimetres operator/(double divisor) const { return Millimetres(value / divisor); }
    constexpr double operator/(Millimetres other) const { return value / other.value; }  // a ratio
};

inline constexpr double kMicronsPerMillimetre = 1000;

// The positions of a radiograph `positions` columns wide: display column x shows position N - x.
class PositionAxis {
public:
    constexpr explicit PositionAxis(long positions) : count(positions) {}
    constexpr bool holds(Position p) const { return p.value >= 1 && p.value <= count; }
    template <class Rep>
    constexpr Place<ColumnAxisTag, Rep> columnOf(Place<PositionAxisTag, Rep> p) const {
        return Place<ColumnAxisTag, Rep>(count - p.value);
    }
    template <class Rep>
    constexpr Place<PositionAxisTag, Rep> positionOf(Place<ColumnAxisTag, Rep> x) const {
        return Place<PositionAxisTag, Rep>(count - x.value);
    }

private:
    long count;
};

// The whole position nearest a point, halves to the even one.
inline Position nearestPosition(PositionPoint p) {
    return Position(static_cast<long>(roundHalfEven(p.value)));
}

// The millimetres of the positions: position 1's and one position's length. Millimetres grow with
// the positions, towards the radiograph's left edge.
struct PositionScale {
    Millimetres first, step;
    constexpr Millimetres at(PositionPoint p) const { return first + step * (p.value - 1); }
    // Steps from the right edge of position 1 (half a step before its millimetre) to `mm`.
    constexpr double stepsFromRightEdge(Millimetres mm) const { return (mm - first) / step + 0.5; }
};

// The length of `columns` display columns at a stepping of `micronsPerColumn`.
constexpr Millimetres lengthOfColumns(double columns, double micronsPerColumn) {
    return Millimetres(columns * micronsPerColumn / kMicronsPerMillimetre);
}
// How many display columns a length spans at that stepping.
constexpr double columnsOfLength(Millimetres length, double micronsPerColumn) {
    return length.value * kMicronsPerMillimetre / micronsPerColumn;
}

}  // namespace core
