// The core photo: import, the close-up's colour profile, and a brightness change with the
// close-up open.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "SynthCore.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "photo/CloseUp.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"

namespace bench {

double cropDistinctShare = 0, cropDistinctShareRandom = 0;
double photoAdjustStripColumns = 0, photoAdjustCloseUpPixels = 0;

namespace {

// The 30000 x 1000 colour core as the photo (a strip: thirty times as wide as high).
QString bigPhoto() {
    return bigRadiographJpeg(true);
}

void importPhoto(const QString& path) {
    app::frmMain->ImportCorePhoto(path);
}

// A program with the big radiograph, a section of about 2000 columns, and the photo.
void programWithPhoto() {
    freshProgram();
    importFile(bigRadiographJpeg(false));
    app::PreviewForm& preview = app::frmPreview.get();
    preview.sectionFrame->setWidth(2000.0 * preview.previewImage->Width() / 30000.0);
    app::frmRawImage->sectionFrame->setWidth(preview.sectionFrame->Width());
    app::RenderSection();
    importPhoto(bigPhoto());
}

// The synthetic colour core with a line-scan camera's noise (each channel +-6): about as many
// distinct colours per pixel as the scanner's own optical.tif (5616 in 56340 pixels).
QImage noisyPhotoImage() {
    static const QImage photo = [] {
        QImage p = synth::makeVarvedCore(30000, 1000, true).radiograph.convertToFormat(QImage::Format_RGB32);
        std::uint32_t state = 12345;
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return static_cast<int>((state >> 24) % 13) - 6;
        };
        for (int y = 0; y < p.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < p.width(); ++x) {
                const QRgb c = row[x];
                row[x] = qRgb(std::clamp(qRed(c) + next(), 0, 255), std::clamp(qGreen(c) + next(), 0, 255),
                              std::clamp(qBlue(c) + next(), 0, 255));
            }
        }
        return p;
    }();
    return photo;
}

// Every pixel a colour of its own: the most the profile can cost.
QImage randomPhotoImage() {
    QImage p(2001, 1000, QImage::Format_RGB32);
    std::uint32_t state = 777;
    for (int y = 0; y < p.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
        for (int x = 0; x < p.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (state >> 8);
        }
    }
    return p;
}

double distinctShare(const QImage& photo, int left, int top, int columns, int rows) {
    std::vector<bool> seen(1u << 24);
    long distinct = 0;
    for (int y = top; y < top + rows; ++y) {
        for (int x = left; x < left + columns; ++x) {
            const QRgb c = photo.pixel(x, y) & 0xFFFFFFu;
            if (!seen[c]) {
                seen[c] = true;
                ++distinct;
            }
        }
    }
    return static_cast<double>(distinct) / (static_cast<double>(columns) * rows);
}

}  // namespace

// The photo import through the main window's command, up to the photo window painted.
void BM_ImportPhoto(benchmark::State& state) {
    freshProgram();
    importFile(bigRadiographJpeg(false));
    const QString path = bigPhoto();
    for (auto _ : state) {
        state.PauseTiming();
        if (app::frmPhoto.exists()) app::frmPhoto.destroy();
        app::PhotoOpen = false;
        state.ResumeTiming();
        importPhoto(path);
        app::frmPhoto->repaint();
    }
    if (!app::PhotoOpen || app::frmPhoto->photo().width() != 30000) state.SkipWithError("photo import failed");
}

// RGB, L*a*b* and grey means of a 300-row band over 2000 columns of the photo.
void BM_CropProfile300(benchmark::State& state) {
    const bool random = state.range(0) != 0;
    const QImage photo = random ? randomPhotoImage() : noisyPhotoImage();
    const photo::CropRect crop = random ? photo::CropRect{0, 200, 2000, 800} : photo::CropRect{10000, 200, 12000, 800};
    const photo::StripRegion region = photo::stripRegion(crop);
    for (auto _ : state) {
        auto profile = photo::computeColourProfile(photo, crop, region, {349.5f, 649.5f});
        benchmark::DoNotOptimize(&profile(0, 1));
    }
    (random ? cropDistinctShareRandom : cropDistinctShare) =
        distinctShare(photo, static_cast<int>(crop.left), 350, 2001, 300);
}

// Its floor: one plain copy of the band's bytes.
void BM_CropBandCopy(benchmark::State& state) {
    const QImage photo = noisyPhotoImage();
    std::vector<QRgb> band(2001u * 300u);
    for (auto _ : state) {
        for (int y = 0; y < 300; ++y)
            std::memcpy(&band[static_cast<std::size_t>(y) * 2001u],
                        reinterpret_cast<const QRgb*>(photo.constScanLine(350 + y)) + 10000, 2001 * sizeof(QRgb));
        benchmark::DoNotOptimize(band.data());
    }
}

// A brightness change with the close-up open: the strip adjusted, composed with its curves and
// painted.
void BM_PhotoAdjustChange(benchmark::State& state) {
    programWithPhoto();
    app::frmPhoto->mnuCrop_Click();
    if (!app::CropOpen) state.SkipWithError("no close-up");
    int value = 0;
    for (auto _ : state) {
        value = value == 10 ? -10 : 10;
        app::frmMain->photoSliders(0)->setValue(value);
        app::frmCrop->repaint();
    }
    photoAdjustStripColumns = app::CropRight - app::CropLeft;
    photoAdjustCloseUpPixels =
        static_cast<double>(app::frmCrop->closeUpView->width()) * app::frmCrop->closeUpView->height();
}

BENCHMARK(BM_ImportPhoto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CropProfile300)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_CropBandCopy)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_PhotoAdjustChange)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace bench
