#include "core/Arithmetic.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/Errors.h"

namespace core {

double roundHalfEven(double x) {
    return std::nearbyint(x);
}  // default rounding mode: to nearest, ties to even

double intFloor(double x) {
    return std::floor(x);
}

double fix(double x) {
    return std::trunc(x);
}

namespace {
template <typename T>
T roundedChecked(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max()))) {
        throw OverflowError();
    }
    return static_cast<T>(r);
}
}  // namespace

Integer cint(double x) {
    return roundedChecked<Integer>(x);
}
Long clng(double x) {
    return roundedChecked<Long>(x);
}

Integer toInteger(long long x) {
    if (x < std::numeric_limits<Integer>::min() || x > std::numeric_limits<Integer>::max())
        throw OverflowError();
    return static_cast<Integer>(x);
}

double val(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) ++p;
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* digits = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    bool any = p > digits;
    if (p < end && *p == '.') {
        ++p;
        const char* frac = p;
        while (p < end && *p >= '0' && *p <= '9') ++p;
        any = any || p > frac;
    }
    if (!any) return 0.0;
    // An exponent counts only when digits follow it ("2e" is 2).
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        const char* expDigits = q;
        while (q < end && *q >= '0' && *q <= '9') ++q;
        if (q > expDigits) p = q;
    }
    std::string number(start, p);
    for (char& c : number) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    if (!number.empty() && number.front() == '+') number.erase(0, 1);
    double result = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), result);
    if (ec == std::errc::result_out_of_range) throw OverflowError();
    (void)ptr;
    return result;
}

namespace {
QString generalText(double x, int precision) {
    if (x == 0.0) return QStringLiteral("0");
    char buffer[64];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, precision);
    if (ec != std::errc()) return QStringLiteral("0");
    QString text = QString::fromLatin1(buffer, ptr - buffer);
    return text.replace(QLatin1Char('e'), QLatin1Char('E'));
}
}  // namespace

QString singleText(float x) {
    return generalText(static_cast<double>(x), 7);
}
QString doubleText(double x) {
    return generalText(x, 15);
}

QString shortestText(double x) {
    if (x == 0.0) return QStringLiteral("0");
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);
    if (ec != std::errc()) return QStringLiteral("0");
    return QString::fromLatin1(buffer, ptr - buffer);
}

}  // namespace core
