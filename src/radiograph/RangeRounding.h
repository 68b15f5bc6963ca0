#pragma once

#include "core/Variant.h"

// Rounding a curve's value range outward to a grid whose step depends on the larger of |a| and |b|:
//   below 100: 5;  below 1000: 50;  below 10000: 500;  else 1000 (a > 0) or 5000 (a < 0).
// The result is the Integer 0 for a = 0, otherwise a Single.
namespace radiograph {

core::Variant RoundUpToStep(float a, float b);
core::Variant RoundDownToStep(float a, float b);

}  // namespace radiograph
