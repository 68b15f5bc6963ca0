#include "curves/CurveValues.h"

#include <algorithm>

#include "core/Arithmetic.h"
#include "radiograph/RangeRounding.h"

namespace curves {

namespace {
constexpr float kSearchStartTop = -999999.0f;
constexpr float kSearchStartBottom = 999999.0f;
}  // namespace

void fillCurveValues(const core::CurveTable& profile, int column, int ratioColumn, std::span<float> values) {
    for (std::size_t i = 1; i < values.size(); ++i) {
        const long position = static_cast<long>(i);
        double value = 0;
        if (!profile.number(column, position, value)) {
            values[i] = kMissingValue;
            continue;
        }
        if (ratioColumn > 0) {
            double denominator = 0;
            if (!profile.number(ratioColumn, position, denominator) || denominator == 0) {
                values[i] = kMissingValue;
                continue;
            }
            value /= denominator;
        }
        values[i] = static_cast<float>(value);
    }
}

void hideInvalidRows(const core::VariantTable& data, int validityField, std::span<float> values) {
    if (validityField < data.lower1() || validityField > data.upper1()) return;
    const long last = std::min<long>(static_cast<long>(values.size()) - 1, data.upper2());
    for (long i = 1; i <= last; ++i) {
        const core::Variant v = data.get(validityField, i);
        if (v.isNumeric() && v.toDouble() == 0) values[static_cast<std::size_t>(i)] = kMissingValue;
    }
}

ValueRange curveValueRange(std::span<const float> values, const QString& topText, const QString& bottomText,
                           bool autoRange) {
    ValueRange r;
    r.autoRange = autoRange;
    const auto data = values.subspan(values.empty() ? 0 : 1);
    if (!topText.isEmpty()) {
        r.top = static_cast<float>(core::val(topText));
    } else {
        r.autoRange = true;
        r.top = kSearchStartTop;
        for (const float v : data) {
            if (v > r.top) r.top = v;
        }
    }
    const bool bottomFilled = bottomText.isEmpty();
    if (!bottomFilled) {
        r.bottom = static_cast<float>(core::val(bottomText));
    } else {
        r.bottom = kSearchStartBottom;
        for (const float v : data) {
            if (v < r.bottom) r.bottom = v;
        }
    }

    if (r.bottom == kMissingValue) {
        r.bottom = 0;
    } else if (r.autoRange && bottomFilled) {
        r.bottom = static_cast<float>(radiograph::RoundDownToStep(r.bottom, r.top).toDouble());
    }
    if (r.autoRange && r.top > 1) {
        r.top = static_cast<float>(radiograph::RoundUpToStep(r.top, r.bottom).toDouble());
        r.autoRange = false;
    }
    if (r.top == 1) r.top = 2;
    return r;
}

QString rangeBoxText(const QString& current, float value) {
    if (!current.isEmpty() && static_cast<float>(core::val(current)) == value) return current;
    return core::singleText(value);
}

}  // namespace curves

namespace curves {

QString markerToolTip(const QString& label, const QString& note) {
    const auto shown = [](const QString& s) { return s.startsWith(QLatin1Char('#')) ? s.mid(1) : s; };
    const QString l = shown(label), n = shown(note);
    const QString none = QStringLiteral("---");
    if (l != none && n != none) return l + QStringLiteral(" (") + n + QLatin1Char(')');
    if (l != none) return l;
    return n;
}

}  // namespace curves
