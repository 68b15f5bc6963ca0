#pragma once

// Where the program puts its windows when the settings leave a place unset (9999), worked out
// for the screen it runs on so that no window covers another's controls:
//
//   +--------------+------------------------------------------+
//   |              | metre scale (shown with the tools)       |
//   |     main     | preview (and the raw image window)       |
//   |    window    | photo strip                              |
//   |              | active years | close-up                  |
//   +--------------+------------+-----------------------------+
//   | (elastic scale, when there is room for it above)         |
//   | curve window 1            | curve window 4               |
//   | curve window 2            | curve window 5               |
//   | curve window 3            | curve window 6               |
//   | 10 mm scale               | (elastic scale, otherwise)   |
//   +---------------------------+------------------------------+
//
// The two columns of curve windows share the screen's width, so that the section shown at the
// first import fills them, and the three rows share the height left below the main window. The
// layout follows the screen and the main window only, never the radiograph's own size. Everything
// is in twips; the area is the screen less the desktop's panels. A place the user chose (a settings
// row that is set) is kept while it lies on the screen and over no other window (fitPlaces).
#include <optional>
#include <vector>

namespace app::layout {

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

struct Point {
    double left = 0, top = 0;
};

bool contains(const Rect& outer, const Rect& inner);
bool overlap(const Rect& a, const Rect& b);  // edges that only touch do not

// Heights of the windows the layout stacks (twips); the windows are made this high.
inline constexpr double kMetreScaleHeight = 720;
inline constexpr double kPreviewHeight = 1395;
// Room kept below the preview for a photo strip (a line-scan photo 69 pixels high, with its caption),
// so that the windows placed under it at the radiograph's import stay clear of the photo opened later.
inline constexpr double kPhotoStripRoom = 1440;
inline constexpr double kScaleHeight = 720;
inline constexpr double kElasticHeight = 900;
// A curve window beyond its plot (it is sized so): borders, and the caption with the top row of controls.
inline constexpr double kCurveFrameWidth = 120;
inline constexpr double kCurveFrameHeight = 360;
// What must stay visible of a curve window when three do not fit one above the other: its caption
// and the row of choices along its plot's top.
inline constexpr double kCurveControlStrip = 720;
// The narrowest preview the layout makes beside the main window.
inline constexpr double kMinimumPreviewWidth = 4500;
// The lowest curve window the layout makes where the screen has the room: the 80-pixel windows that
// earlier versions made on a 1920 x 1080 screen.
inline constexpr double kSmallestCurveWindowHeight = 1200;

// The main window: the area's top left corner.
Point mainWindow(const Rect& area);

// The preview beside the main window, its top below the metre scale's room, to the area's right
// edge. `left` is the preview's own left when the settings give one.
Rect preview(const Rect& area, const Rect& main);
double previewWidth(const Rect& area, double left);

// Below the preview and a photo strip's room: the active years window, then the close-up.
Point activeYears(const Rect& preview);
// The close-up (`width` x `height`): right of the active years window, moved left to stay on the
// area, or under the active years window where there is no room beside it; cut lower so that its
// bottom stays above `bottomLimit` (the windows below, less the scale docked under it).
Rect closeUp(const Rect& area, const Rect& activeYears, double width, double height, double bottomLimit);

// A column of curve windows is half the area wide.
double curveColumnWidth(const Rect& area);

// The rows of curve windows: the height below the main window (the main window at the layout's
// place, `mainSize` its size) shared by three windows and the row of scales below them. The elastic
// scale takes its room above window 1 when the windows stay at least kSmallestCurveWindowHeight
// high with it, otherwise it sits under window 6 beside the 10 mm scale. On a screen too low for
// three windows of the smallest height the windows are that high (curveRowPitch stacks them).
struct CurveRows {
    double firstTop = 0;
    double windowHeight = 0;
    bool elasticAbove = true;
};
CurveRows curveRows(const Rect& area, const Rect& mainSize);

// Curve window 1: under the main window at the area's left, with the elastic scale's room above it
// when the rows give it one.
Point firstCurveWindow(const Rect& area, const Rect& main, double windowHeight);

// Top to top of two curve windows in a column: the window's height, or less when three do not fit
// above the 10 mm scale (each then covers the lower part of the plot above it), never less than
// what keeps the window's top row of controls visible.
double curveRowPitch(const Rect& area, double firstTop, double windowHeight);

// The data columns the first section shows: as many as a column's plot holds at `twipsPerPixel`
// (less the plot's `extraPixels`), at most the whole core, at least one.
long sectionColumns(const Rect& area, double twipsPerPixel, double extraPixels, long coreColumns);

// Where each window of the layout goes. A window `kept` at a place the user chose (at today's size)
// keeps it while it lies inside the area and over no other window's place; otherwise it takes
// `laidOut`, the layout's own place. A window already on the screen is given as laidOut only.
// Kept places are tried together first, so that a layout the user moved as a whole stays; each
// kept place that still lies over another window is given up in turn (first the earliest in the
// list), until none does.
struct WindowPlace {
    Rect laidOut;
    std::optional<Rect> kept;
};
std::vector<Rect> fitPlaces(const Rect& area, const std::vector<WindowPlace>& windows);

}  // namespace app::layout
