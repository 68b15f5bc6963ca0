// Curve redraws, pointer moves and marker keys over all six curve windows.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>

#include "BenchSupport.h"
#include "SynthCore.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"

namespace bench {

namespace {

QString radiographBmp(int width, int height) {
    const QString path = tempPath(QStringLiteral("core-%1x%2.bmp").arg(width).arg(height));
    if (!QFile::exists(path)) synth::makeVarvedCore(width, height).radiograph.save(path, "BMP");
    return path;
}

// A document as after both imports: the radiograph, a section of `columns` columns, six curves
// of XRF-like values and 500 markers of three levels.
void countingDocument(int width, int height, int columns) {
    freshProgram();
    importFile(radiographBmp(width, height));
    app::PreviewForm& preview = app::frmPreview.get();
    for (ui::Shape* shape : {preview.sectionFrame, app::frmRawImage->sectionFrame}) {
        shape->place(0, shape->Top(), columns * preview.previewImage->Width() / width, shape->Height());
    }
    app::RenderSection();
    const long n = app::DataLength;
    // Seven curve columns; windows 4..6 show ratios to the last, which is 0 now and then.
    const char* const names[] = {"Grey", "Fe", "Mn", "Ti", "K", "Zr", "Ca"};
    app::XrfColumnCount = 15;
    app::Profile.redim(0, 15, 0, n);
    for (int c = 0; c <= 6; ++c) {
        app::Profile(c, 0) = core::Variant(names[c]);
        for (long i = 1; i <= n; ++i) app::Profile.setNumber(c, i, static_cast<double>((i * (c + 3)) % 97));
    }
    app::CurveValue.redim(0, 6, 0, n);
    for (int k = 1; k <= 6; ++k) {
        app::CurveForm& w = app::curveWindow(k);
        for (const char* name : names) w.elementList->AddItem(name);
        w.elementList->setText(names[k - 1]);
        if (w.hasRatio()) {
            w.denominatorList->AddItem("1");
            for (const char* name : names) w.denominatorList->AddItem(name);
            w.denominatorList->setText("Ca");
            w.ratioCheck->setValue(1);
        }
        w.topValueBox->setText("100");
        w.bottomValueBox->setText("0");
        if (k % 2 == 0) w.chooseMovingAverage(w.mnuWeighted5);  // half the windows smoothed
    }
    const long first = n - app::ViewRight;
    for (int m = 0; m < 500; ++m) {
        const long p = first + 1 + (m * (app::ViewRight - app::ViewLeft - 1)) / 500;
        app::YearMark(p) = core::Variant(static_cast<core::Integer>(m % 3 == 0 ? 1 : m % 3 == 1 ? 3 : 5));
    }
    app::XrfLoaded = true;
    app::RedrawCurves();
}

void BM_RedrawCurves(benchmark::State& state) {
    countingDocument(30000, 1000, static_cast<int>(state.range(0)));
    for (auto _ : state) app::RedrawCurves();
    state.counters["columns"] = static_cast<double>(app::ViewRight - app::ViewLeft);
}

// A core of today's scanners, 100000 columns: the section on screen (1900 columns at its left
// end, the positions far from 1) redrawn in all six windows.
constexpr int kLargeCore = 100000, kLargeCoreRows = 200, kScreenColumns = 1900;

void BM_RedrawLargeCore(benchmark::State& state) {
    countingDocument(kLargeCore, kLargeCoreRows, kScreenColumns);
    for (auto _ : state) app::RedrawCurves();
}

void BM_RedrawGreyCurve(benchmark::State& state) {
    countingDocument(30000, 1000, static_cast<int>(state.range(0)));
    app::XrfLoaded = false;
    for (auto _ : state) app::RedrawGreyCurve();
}

// The values and ranges of all six windows (three of them ratios) over 30000 positions.
void BM_LoadCurveValues(benchmark::State& state) {
    countingDocument(30000, 1000, 2000);
    for (auto _ : state) app::LoadCurveValues();
}

// One step of a band drag in curve window 1 on the 30000 x 1000 radiograph: press in the band,
// move it a row, release (which takes the grey profile from the new band and redraws curve 1).
void BM_BandDragStep(benchmark::State& state) {
    countingDocument(30000, 1000, 2000);
    app::XrfLoaded = false;  // the grey curve alone, as before an XRF import
    ui::PictureBox* plot = app::curveWindow(1).plot;
    const auto send = [plot](QEvent::Type type, double y, Qt::MouseButtons buttons) {
        const QPointF at(100, y * plot->surface().heightPixels() / plot->ScaleHeight());
        QMouseEvent e(type, at, plot->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
        QApplication::sendEvent(plot, &e);
    };
    int step = 0;
    for (auto _ : state) {
        app::CurveForm& c1 = app::curveWindow(1);
        const double middle = (c1.bandLines(0)->Y1() + c1.bandLines(1)->Y1()) / 2;
        const double to = middle + ((step++ % 2) ? -1 : 1);
        send(QEvent::MouseButtonPress, middle, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
}

// The release of a section drag in the preview: the new 2000-column section of a 1000-row
// radiograph rendered into all six windows, with the curves and markers over it.
void BM_SectionDragRelease(benchmark::State& state) {
    countingDocument(30000, 1000, 2000);
    app::PreviewForm& preview = app::frmPreview.get();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double middle = preview.sectionFrame->Left() + preview.sectionFrame->Width() / 2;
        const double to = middle + ((step++ % 2) ? -60 : 60);
        preview.previewImage_MouseDown(1, 0, middle, 10);
        preview.previewImage_MouseMove(1, 0, to, 10);
        state.ResumeTiming();
        preview.previewImage_MouseUp(1, 0, to, 10);
    }
}

// Both scale windows for the whole 30000-column core as the section, at 200 micron.
void BM_DrawScale(benchmark::State& state) {
    countingDocument(30000, 1000, 30000);
    app::frmMain->steppingBox->setText("200");
    for (auto _ : state) {
        app::DrawScale();
        app::Draw1mScale();
    }
}

// Mouse moves over a plot as the window system delivers them, three columns at a time.
void movePointerAcross(benchmark::State& state, ui::PictureBox* plot) {
    int x = 10;
    for (auto _ : state) {
        x = x >= 1800 ? 10 : x + 3;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), plot->mapToGlobal(QPointF(x, 20)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
    }
}

// One pointer move over curve window 1 with the elastic overlay shown on all six windows.
void BM_ElasticOverlayMove(benchmark::State& state) {
    countingDocument(2000, static_cast<int>(state.range(0)), 1900);
    app::frmMain->mnuElastic_Click();
    app::ElasticInterval = 12;
    app::ElasticShown = true;
    movePointerAcross(state, app::curveWindow(1).plot);
}

// What the window system delivers when the mouse moves over curve window 1's plot.
void BM_PointerMove(benchmark::State& state) {
    countingDocument(2000, static_cast<int>(state.range(0)), 1900);
    movePointerAcross(state, app::curveWindow(1).plot);
}

void BM_PointerMoveLargeCore(benchmark::State& state) {
    countingDocument(kLargeCore, kLargeCoreRows, kScreenColumns);
    movePointerAcross(state, app::curveWindow(1).plot);
}

// The first pointer move after a change of the marks while the chronology has a calendar year: the
// readout's year boundaries are found again, once.
void BM_PointerMoveAfterChangeLargeCore(benchmark::State& state) {
    countingDocument(kLargeCore, kLargeCoreRows, kScreenColumns);
    app::KeepChronologyPlacement(2013, 0);
    ui::PictureBox* plot = app::curveWindow(1).plot;
    int x = 10;
    for (auto _ : state) {
        state.PauseTiming();
        ++app::MarksVersion;  // as a marking does
        x = x >= 1800 ? 10 : x + 3;
        state.ResumeTiming();
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), plot->mapToGlobal(QPointF(x, 20)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
    }
}

// A key over curve window 1's plot, the pointer moved 3 pixels between presses (untimed, with
// `before` run at each place), until the key's work is done.
template <typename Before>
void keyOverPlot(benchmark::State& state, Qt::Key key, const QString& text, const Before& before,
                 int coreColumns = 2000, int coreRows = 1000) {
    countingDocument(coreColumns, coreRows, 1900);
    ui::PictureBox* plot = app::curveWindow(1).plot;
    int x = 10;
    for (auto _ : state) {
        state.PauseTiming();
        x = x >= 1800 ? 10 : x + 3;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), plot->mapToGlobal(QPointF(x, 20)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        before();
        state.ResumeTiming();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(plot, &press);
    }
}

// Key "1" until the marker line is committed in all six windows.
void BM_MarkerKey(benchmark::State& state) {
    keyOverPlot(state, Qt::Key_1, QStringLiteral("1"), [] {});
}

void BM_MarkerKeyLargeCore(benchmark::State& state) {
    keyOverPlot(
        state, Qt::Key_1, QStringLiteral("1"), [] {}, kLargeCore, kLargeCoreRows);
}

// Enter accepting the proposal under the pointer, as a marker key would place it.
void BM_AcceptProposal(benchmark::State& state) {
    app::ProposalThinnest = 1;
    keyOverPlot(state, Qt::Key_Return, QStringLiteral("\r"), [] {
        const long p = std::lround(app::positionOf(app::PointerX).value);
        app::YearMark(p) = core::Variant(app::kNoMarker);
        app::ProposedPositions.assign({p});
    });
    if (!app::ProposedPositions.empty()) state.SkipWithError("the proposal was not accepted");
}

}  // namespace

BENCHMARK(BM_RedrawCurves)->Arg(2000)->Arg(30000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RedrawLargeCore)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RedrawGreyCurve)->Arg(2000)->Arg(30000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DrawScale)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ElasticOverlayMove)->Arg(300)->Arg(2000)->MinTime(0.5);
BENCHMARK(BM_BandDragStep)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SectionDragRelease)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadCurveValues)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PointerMove)->Arg(300)->Arg(2000)->MinTime(0.5);
BENCHMARK(BM_MarkerKey)->MinTime(0.5);
BENCHMARK(BM_PointerMoveLargeCore)->MinTime(0.5);
BENCHMARK(BM_PointerMoveAfterChangeLargeCore)->MinTime(0.5);
BENCHMARK(BM_MarkerKeyLargeCore)->MinTime(0.5);
BENCHMARK(BM_AcceptProposal)->MinTime(0.5);

}  // namespace bench
