#include "radiograph/RangeRounding.h"

#include <algorithm>
#include <cmath>

#include "core/Arithmetic.h"

namespace radiograph {

namespace {
double step(double a, double b) {
    const double m = std::max(std::fabs(a), std::fabs(b));
    if (m < 100) return 5;
    if (m < 1000) return 50;
    if (m < 10000) return 500;
    return a > 0 ? 1000 : 5000;
}
}  // namespace

core::Variant RoundUpToStep(float a, float b) {
    if (a == 0) return core::Variant(core::Integer(0));
    const double s = step(a, b);
    const double r = a > 0 ? (core::intFloor(a / s) + 1) * s : core::fix(a / s) * s;
    return core::Variant(static_cast<float>(r));
}

core::Variant RoundDownToStep(float a, float b) {
    if (a == 0) return core::Variant(core::Integer(0));
    const double s = step(a, b);
    const double r = a > 0 ? core::intFloor(a / s) * s : (core::fix(a / s) - 1) * s;
    return core::Variant(static_cast<float>(r));
}

}  // namespace radiograph
