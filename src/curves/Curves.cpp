#include "curves/Curves.h"

#include "app/Forms.h"
#include "app/SharedState.h"
#include "core/Arithmetic.h"

namespace app {

namespace {
constexpr core::Colour kBrightGreen = core::rgb(0, 255, 0);
constexpr core::Colour kGreyCurveUnderAverage = core::rgb(0, 150, 100);

struct Scale {
    double left, top, width, height;
};
Scale roundedScale(const ui::PictureBox* p) {
    return {core::roundHalfEven(p->ScaleLeft()), core::roundHalfEven(p->ScaleTop()),
            core::roundHalfEven(p->ScaleWidth()), core::roundHalfEven(p->ScaleHeight())};
}

// Every redraw starts from the stored section background, with the transient drawings cleared.
Scale resetPlots() {
    const Scale remembered = roundedScale(curveWindow(1).Picture1);
    const QImage& background = frmMain->Picture2->Background();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).Picture1;
        p->setPicture(background);
        p->Cls();
    }
    return remembered;
}

void finishPlots(const Scale& remembered) {
    for (int k = 1; k <= 6; ++k) {
        curveWindow(k).Picture1->setScale(remembered.left, remembered.top, remembered.width,
                                          remembered.height);
    }
    DrawMarkers();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).Picture1;
        p->commit();
        p->Cls();
        p->Refresh();
    }
}
}  // namespace

void drawGreyCurve();

void LoadCurveValues() {}

void RedrawCurves() {
    LoadCurveValues();
    if (!GreyCurveDrawn) return;
    if (!XrfLoaded) {
        RedrawGreyCurve();
        return;
    }
}

void RedrawGreyCurve() {
    if (!PreviewRendered) return;
    try {
        drawGreyCurve();
    } catch (const core::RuntimeError&) {
        // a drawing that does not fit the window's geometry is left as far as it got
    }
}

void drawGreyCurve() {
    const Scale remembered = resetPlots();
    CurveForm& c1 = curveWindow(1);
    float top = static_cast<float>(core::val(c1.Text1->Text()));
    const float bottom = static_cast<float>(core::val(c1.Text2->Text()));
    if (bottom == top) top = 100;
    ui::PictureBox* plot = c1.Picture1;
    plot->setScale(ViewLeft, top, ViewRight - ViewLeft, bottom - top);

    // G(p) for data position p; W, the radiograph width, stands for DataLength here.
    const long W = static_cast<long>(core::roundHalfEven(frmMain->Picture1->ScaleWidth()));
    auto G = [](long p) { return static_cast<double>(GreyProfile(p)); };
    const bool plain = c1.mnuNone->Checked();
    const core::Colour rawColour = plain ? kBrightGreen : kGreyCurveUnderAverage;
    for (long x = ViewLeft; x <= ViewRight - 1; ++x) {
        if (x < W - 1) plot->surface().line(x, G(W - x), x + 1, G(W - x - 1), rawColour);
    }
    if (!plain) {
        const float w1 = SmoothW1(1), w2 = SmoothW2(1), w3 = SmoothW3(1), w4 = SmoothW4(1), w5 = SmoothW5(1);
        auto S = [&](long x) {
            return w1 * G(W - (x - 2)) + w2 * G(W - (x - 1)) + w3 * G(W - x) + w4 * G(W - (x + 1)) +
                   w5 * G(W - (x + 2));
        };
        for (long x = ViewLeft; x <= ViewRight - 1; ++x) {
            if (x < W - 1 && x > 2 && x < DataLength - 3)
                plot->surface().line(x, S(x), x + 1, S(x + 1), kBrightGreen);
        }
    }
    finishPlots(remembered);
    GreyCurveDrawn = true;
}

void DrawMarkers() {}

}  // namespace app
