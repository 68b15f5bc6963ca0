#pragma once

#include <QString>
#include <cstdint>

// The numeric conventions of the program, in one place:
//   round / CInt   nearest integer, halves to even
//   Int(x)         toward minus infinity;  Fix(x) toward zero
//   Val(text)      the leading decimal number of a text; no number gives 0
//   Integer        16-bit; leaving its range is an overflow error
namespace core {

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;

double roundHalfEven(double x);
double intFloor(double x);
double fix(double x);

// Round to nearest (halves to even) and convert; throws OverflowError outside the type's range
// (and for NaN).
Integer cint(double x);
Long clng(double x);
// Range-checked narrowing of an exact integer.
Integer toInteger(long long x);

double val(const QString& text);

// The standard text form of a Single (up to 7 significant digits) and of a Double (up to 15),
// without a leading blank: 1.5 -> "1.5", 1e7 -> "1E+07", 0.1f -> "0.1".
QString singleText(float x);
QString doubleText(double x);
// The shortest text that reads back as the same double, "." as the decimal point whatever the locale.
QString shortestText(double x);

}  // namespace core
