#include "curves/windows/Curves.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/Arithmetic.h"
#include "curves/CurveValues.h"
#include "curves/windows/CurveForm.h"

namespace app {

namespace {
constexpr core::Colour kBrightGreen = core::rgb(0, 255, 0);
constexpr core::Colour kRawUnderAverage = core::rgb(0, 110, 90);
constexpr core::Colour kGreyUnderAverage = core::rgb(0, 150, 100);
constexpr float kMissingValue = curves::kMissingValue;

// True while LoadCurveValues writes the range boxes: their change events must not start a redraw
// inside the one that is writing them (the redraw under way draws with the values written).
bool writingRanges = false;

struct Scale {
    double left, top, width, height;
};
Scale roundedScale(const ui::PictureBox* p) {
    return {core::roundHalfEven(p->ScaleLeft()), core::roundHalfEven(p->ScaleTop()),
            core::roundHalfEven(p->ScaleWidth()), core::roundHalfEven(p->ScaleHeight())};
}

// Every redraw starts from the stored section background, with the transient drawings cleared.
Scale resetPlots() {
    const Scale remembered = roundedScale(curveWindow(1).plot);
    const QImage& background = frmMain->sectionBackground->Background();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).plot;
        p->setPicture(background);
        p->Cls();
    }
    return remembered;
}

// Back to the coordinates the plots had before, the markers over the curves, and committed.
void finishPlots(const Scale& remembered) {
    for (int k = 1; k <= 6; ++k) {
        curveWindow(k).plot->setScale(remembered.left, remembered.top, remembered.width, remembered.height);
    }
    DrawMarkers();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).plot;
        p->commit();
        p->Cls();
        p->Refresh();
    }
}

// Top and bottom values from the range boxes; equal values would give a plot without height.
std::pair<float, float> valueRange(const CurveForm& w) {
    float top = static_cast<float>(core::val(w.topValueBox->Text()));
    const float bottom = static_cast<float>(core::val(w.bottomValueBox->Text()));
    if (bottom == top) top = 100;
    return {top, bottom};
}

// Five-point moving average of window k's weights around display column x, v(x') the value at x'.
template <typename ValueAt>
double movingAverage(int k, long x, const ValueAt& v) {
    return SmoothW1(k) * v(x - 2) + SmoothW2(k) * v(x - 1) + SmoothW3(k) * v(x) + SmoothW4(k) * v(x + 1) +
           SmoothW5(k) * v(x + 2);
}

// The segments (x, value(x)) - (x + 1, value(x + 1)) for x = from..to where drawn(x) holds, in
// that order, each connected stretch as one polyline; value is asked once per point.
template <typename Value, typename Drawn>
void drawSegments(ui::Surface& plot, long from, long to, const Value& value, const Drawn& drawn, core::Colour c) {
    std::vector<QPointF> stretch;
    const auto flush = [&] {
        plot.polyline(stretch, c);
        stretch.clear();
    };
    for (long x = from; x <= to; ++x) {
        if (!drawn(x)) {
            flush();
            continue;
        }
        if (stretch.empty()) stretch.emplace_back(static_cast<double>(x), value(x));
        stretch.emplace_back(static_cast<double>(x + 1), value(x + 1));
    }
    flush();
}

void drawGreyCurve() {
    const Scale remembered = resetPlots();
    CurveForm& c1 = curveWindow(1);
    const auto [top, bottom] = valueRange(c1);
    ui::Surface& plot = c1.plot->surface();
    plot.setScale(ViewLeft, top, ViewRight - ViewLeft, bottom - top);

    // The radiograph width W stands for DataLength: G(W - x) is the grey at display column x.
    const long W = static_cast<long>(core::roundHalfEven(frmMain->radiographPicture->ScaleWidth()));
    auto v = [W](long x) { return static_cast<double>(GreyProfile(W - x)); };
    const bool plain = c1.mnuNone->Checked();
    const core::Colour rawColour = plain ? kBrightGreen : kGreyUnderAverage;
    drawSegments(plot, ViewLeft, ViewRight - 1, v, [W](long x) { return x < W - 1; }, rawColour);
    if (!plain) {
        drawSegments(
            plot, ViewLeft, ViewRight - 1, [&v](long x) { return movingAverage(1, x, v); },
            [W](long x) { return x < W - 1 && x > 2 && x < DataLength - 3; }, kBrightGreen);
    }
    finishPlots(remembered);
    GreyCurveDrawn = true;
}

void drawCurves() {
    const Scale remembered = resetPlots();
    // The column each window shows, matched afresh from its elementList: the last matching column wins.
    int column[7] = {0, 0, 0, 0, 0, 0, 0};
    for (long c = 0; c <= XrfColumnCount; ++c) {
        const Variant& header = Profile(c, 0);
        for (int k = 1; k <= 6; ++k) {
            if (header == curveWindow(k).elementList->Text()) column[k] = static_cast<int>(c);
        }
    }
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        const auto [top, bottom] = valueRange(w);
        w.plot->setScale(ViewLeft, top, ViewRight - ViewLeft, bottom - top);
        QString caption = QStringLiteral("%1: ").arg(k) + Profile.get(column[k], 0).toString();
        if (w.hasRatio() && w.ratioCheck->Value() == 1)
            caption += QStringLiteral(" / ") + w.denominatorList->Text();
        w.setCaption(caption);
    }
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        ui::Surface& plot = w.plot->surface();
        const core::Colour colour = w.mnuNone->Checked() ? kBrightGreen : kRawUnderAverage;
        auto value = [k, axis = positionAxis()](long x) {
            return static_cast<double>(CurveValue(k, axis.positionOf(core::Column(x)).value));
        };
        drawSegments(
            plot, ViewLeft, ViewRight - 1, value,
            [&value](long x) {
                return x < DataLength - 1 && value(x) != kMissingValue && value(x + 1) != kMissingValue;
            },
            colour);
    }
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        if (w.mnuNone->Checked()) continue;
        ui::Surface& plot = w.plot->surface();
        auto v = [k, axis = positionAxis()](long x) {
            return static_cast<double>(CurveValue(k, axis.positionOf(core::Column(x)).value));
        };
        // (the six values of a segment's two averages must all be there)
        const auto complete = [&v](long x) {
            if (!(x < DataLength - 1 && x > 2 && x < DataLength - 3)) return false;
            for (long q = x - 2; q <= x + 3; ++q)
                if (v(q) == kMissingValue) return false;
            return true;
        };
        drawSegments(plot, ViewLeft, ViewRight - 1, [k, &v](long x) { return movingAverage(k, x, v); }, complete,
                     kBrightGreen);
    }
    finishPlots(remembered);
}

// Drawing procedures that meet a geometry they cannot draw in leave the drawing as far as it got.
template <typename Draw>
void drawIgnoringErrors(const Draw& draw) {
    try {
        draw();
    } catch (const core::RuntimeError&) {
    }
}
}  // namespace

void LoadCurveValues() {
    if (!XrfLoaded) return;
    // The column of each window (and the denominator of windows 4..6), matched by header; the
    // last matching column wins, a window without a match shows column 0.
    int column[7] = {0, 0, 0, 0, 0, 0, 0};
    for (long c = 0; c <= XrfColumnCount; ++c) {
        const Variant header = Profile(c, 0);
        for (int k = 1; k <= 6; ++k) {
            CurveForm& w = curveWindow(k);
            if (header == w.elementList->Text()) column[k] = static_cast<int>(c);
            if (w.hasRatio() && header == w.denominatorList->Text()) RatioColumn(k) = static_cast<Single>(c);
        }
    }
    for (int k = 4; k <= 6; ++k) {
        if (curveWindow(k).denominatorList->Text() == QStringLiteral("1")) RatioColumn(k) = 0;
    }

    // The scanner's "validity" column (1 valid, 0 not), found by its name.
    int validity = 0;
    for (long h = 1; h < XrfColumnCount; ++h) {
        if (XrfHeaders(h).trimmed().compare(QLatin1String("validity"), Qt::CaseInsensitive) == 0)
            validity = static_cast<int>(h) + 1;
    }
    const auto n = static_cast<std::size_t>(DataLength) + 1;
    std::vector<float> values(n);
    curves::ValueRange range[7];
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        const bool ratio = w.hasRatio() && w.ratioCheck->Value() == 1;
        const int denominator = ratio ? static_cast<int>(RatioColumn(k)) : 0;
        curves::fillCurveValues(Profile, column[k], denominator, values);
        // The grey profile is the radiograph's, not a measurement: it stays whole.
        if (HideInvalidMeasurements && (column[k] != 0 || denominator != 0))
            curves::hideInvalidRows(XrfData, validity, values);
        for (long i = 1; i <= DataLength; ++i) CurveValue(k, i) = values[static_cast<std::size_t>(i)];
        range[k] =
            curves::curveValueRange(values, w.topValueBox->Text(), w.bottomValueBox->Text(), AutoRange(k));
        AutoRange(k) = range[k].autoRange;
    }

    struct WritingRanges {
        WritingRanges() { writingRanges = true; }
        ~WritingRanges() { writingRanges = false; }
    } writing;
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        w.topValueBox->setText(curves::rangeBoxText(w.topValueBox->Text(), range[k].top));
        w.bottomValueBox->setText(curves::rangeBoxText(w.bottomValueBox->Text(), range[k].bottom));
    }
}

void RedrawCurves() {
    if (writingRanges) return;
    LoadCurveValues();
    if (!GreyCurveDrawn) return;
    if (!XrfLoaded) {
        RedrawGreyCurve();
        return;
    }
    drawIgnoringErrors(drawCurves);
}

void RedrawPlots() {
    if (XrfLoaded) {
        RedrawCurves();
    } else if (GreyCurveDrawn) {
        RedrawGreyCurve();
    }
}

void RedrawGreyCurve() {
    if (!PreviewRendered) return;
    drawIgnoringErrors(drawGreyCurve);
}

}  // namespace app
