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
//   | (elastic scale, when there is room for it)               |
//   | curve window 1            | curve window 4               |
//   | curve window 2            | curve window 5               |
//   | curve window 3            | curve window 6               |
//   | 10 mm scale               |                              |
//   +---------------------------+------------------------------+
//
// The two columns of curve windows share the screen's width, so that the section shown at the
// first import fills them. Everything is in twips; the area is the screen less the desktop's panels.
// A user's own places (the settings rows that are set) are never changed here.
namespace app::layout {

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

struct Point {
    double left = 0, top = 0;
};

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

// The main window: the area's top left corner.
Point mainWindow(const Rect& area);

// The preview beside the main window, its top below the metre scale's room, to the area's right
// edge. `left` is the preview's own left when the settings give one.
Rect preview(const Rect& area, const Rect& main);
double previewWidth(const Rect& area, double left);

// Below the preview and a photo strip's room: the active years window, then the close-up.
Point activeYears(const Rect& preview);
Point closeUp(const Rect& preview, double activeYearsWidth);

// A column of curve windows is half the area wide.
double curveColumnWidth(const Rect& area);

// Curve window 1: under the main window at the area's left, with the elastic scale's room above it
// when the screen is tall enough for that and three windows of `windowHeight`.
Point firstCurveWindow(const Rect& area, const Rect& main, double windowHeight);

// Top to top of two curve windows in a column: the window's height, or less when three do not fit
// above the 10 mm scale (each then covers the lower part of the plot above it), never less than
// what keeps the window's top row of controls visible.
double curveRowPitch(const Rect& area, double firstTop, double windowHeight);

// The data columns the first section shows: as many as a column's plot holds at `twipsPerPixel`
// (less the plot's `extraPixels`), at most the whole core, at least one.
long sectionColumns(const Rect& area, double twipsPerPixel, double extraPixels, long coreColumns);

}  // namespace app::layout
