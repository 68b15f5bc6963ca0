#pragma once

#include <QImage>
#include <QRectF>
#include <vector>

#include "core/BoundedArray.h"
#include "radiograph/Adjust.h"

// The close-up of the core photo without widgets: which photo pixels the frame selects, the
// strip with brightness and contrast, the measuring band in photo rows, the colour profile of the
// band and the curves drawn from it.
namespace photo {

// The framed region in photo pixels (column and row numbers, unrounded): CropLeft .. CropBottom.
struct CropRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// The frame on the photo window mapped to photo pixels. frame: the frame in the window's twips,
// photoTop: the displayed photo's top (it moves while the photo is dragged), displayed: the
// displayed photo's size in twips, photo: its size in pixels.
CropRect cropRectOf(const QRectF& frame, double photoTop, QSizeF displayed, QSize photo);

// The whole pixels of the close-up: photo column left + i for i = 0 .. columns - 1, likewise rows.
// The first pixel is the crop's corner rounded (halves to even); the size is the crop's size
// rounded. The colour profile reads one column and one row more (see computeColourProfile).
struct StripRegion {
    int left = 0, top = 0;
    int columns = 0, rows = 0;
    bool empty() const { return columns <= 0 || rows <= 0; }
};
StripRegion stripRegion(const CropRect& crop);

// Brightness and contrast as the close-up applies them (single precision, colours kept).
radiograph::Adjustment closeUpAdjustment(int brightnessSlider, int contrastSlider);

// The most pixels a close-up strip may have (256 MB): a frame dragged far beyond a large photo
// is not rendered.
inline constexpr qint64 kMaxStripPixels = qint64{1} << 26;

// The strip, columns x rows, each photo pixel adjusted; a point outside the photo reads as the
// colour -1 (red -1, green and blue 0) and is adjusted as such. photo: 32-bit. A null image for
// an empty strip or one of more than kMaxStripPixels.
QImage renderStrip(const QImage& photo, const StripRegion& region, const radiograph::Adjustment& a);

// The measuring band in photo rows (bandTop < row <= bandBottom), from the band on the close-up
// (top and height in the close-up's pixels, relative to the close-up's top) and its height.
struct BandRows {
    float top = 0, bottom = 0;
};
BandRows bandRows(double bandTop, double bandHeight, double closeUpHeight, const CropRect& crop);

// Channels of a colour profile: 1 red, 2 green, 3 blue, 4 L*, 5 a*, 6 b*, 7 grey.
enum Channel { kRed = 1, kGreen, kBlue, kLabL, kLabA, kLabB, kGrey };
inline constexpr int kChannels = 7;

// The mean colour of every close-up column inside the band, in the photo as loaded (without
// brightness and contrast). Index (i, channel): i = 0 .. n (n = round(CropRight - CropLeft)),
// reading photo column region.left + i; index n + 1 and channel 0 stay 0. Rows j = 0 ..
// round(CropBottom - CropTop) count when bandTop < CropTop + j <= bandBottom. Each sum is divided
// by the band's nominal height in photo rows, round(bandBottom - bandTop), so a band reaching
// beyond the strip gives lower means. A band thinner than half a photo row divides by 1 instead of
// 0: it holds at most the one row it touches. A point outside the photo counts as black.
core::Array2<float> computeColourProfile(const QImage& photo, const CropRect& crop, const StripRegion& region,
                                         const BandRows& band);

enum class ColourModel { Lab, Rgb, Grey };

// One curve of a model: y = base - factor * value on a 0 (top) .. 300 (bottom) scale.
struct ProfileCurve {
    int channel;
    float base;
    float factor;
};
inline constexpr double kProfileScaleHeight = 300;
std::vector<ProfileCurve> profileCurves(ColourModel model, float profileScale);

// The profile scale after a vertical drag: up magnifies, down flattens (and beyond, mirrors).
// grabY, y: twips; closeUpHeight: pixels.
float draggedProfileScale(float scaleAtGrab, double grabY, double y, double closeUpHeight);

}  // namespace photo
