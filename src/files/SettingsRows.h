#pragma once

// The rows of the settings file, named once. Column 2 of a row holds its default, column 3 its
// current value; 9999 in column 3 means "not set": the program then computes the value by the rule
// given here (the layout is drawn in app/WindowLayout.h). Positions and sizes are twips, colours
// 0x00BBGGRR.
//
//   row      holds                                        when not set
//   0        a title, never interpreted                   -
//   1        the last line read at start-up (100)         -
//   2..4     not used (9999 at exit)                      -
//   5, 6     frmMain Top, Left                            the screen's top left corner
//   7, 8     frmPreview Top, Left                         beside frmMain, under the metre scale
//   9        frmPreview Width                             to the screen's right edge
//   10       section rectangle Left (preview, raw image)  right-aligned in its picture
//   11       section rectangle Width                      filling a column of curve windows
//   12, 13   frmCurve1 Top, Left                          below frmMain, at the screen's left
//   14..23   frmCurve2..6 Top, Left                       two columns beside frmCurve1
//   24, 25   frmPhoto Top, Left                           under the preview
//   26, 27   frmCrop Top, Left                            beside frmActiveYears
//   28..30   not used (9999 at exit)                      -
//   31..39   colour of levels 1..9                        the built-in colours
//   40..65   not used (9999 at exit)                      -
//   66, 67   frmActiveYears Top, Left                     under the photo strip's room, beside frmMain
//   68, 69   the chronology's year levels and uncertain   1 and 2
//            year levels, as digits (0: none)
//   70       hide invalid XRF measurements (1) or not (0)  0
//   71       the chronology's calendar year of the        none: years counted 1, 2, 3 from the top
//            topmost varve
//   72       the chronology's composite depth of the      0
//            section's top (mm)
//   73       the chronology's season levels, as digits      3
//            (0: none)
//   74       the chronology's site name, for the archive    empty
//            forms
//   75..100  not used by the program (column 2 at exit)   -
namespace files::settings {

inline constexpr int kDefault = 2;  // column
inline constexpr int kCurrent = 3;  // column

inline constexpr int kLastRow = 100;
inline constexpr int kRowCount = 1;
inline constexpr int kMainTop = 5;
inline constexpr int kPreviewTop = 7;
inline constexpr int kPreviewWidth = 9;
inline constexpr int kSectionLeft = 10;
inline constexpr int kSectionWidth = 11;
inline constexpr int kCurve1Top = 12;
inline constexpr int kPhotoTop = 24;
inline constexpr int kCropTop = 26;
inline constexpr int kActiveYearsTop = 66;
inline constexpr int kYearLevels = 68;
inline constexpr int kUncertainYearLevels = 69;
inline constexpr int kHideInvalid = 70;
inline constexpr int kChronologyTopYear = 71;
inline constexpr int kChronologyCompositeTop = 72;
inline constexpr int kChronologySeasonLevels = 73;
inline constexpr int kChronologySite = 74;
inline constexpr int kFirstFreeRow = 75;

// A window's place takes two rows: Top, then Left.
constexpr int leftRow(int topRow) {
    return topRow + 1;
}
// Curve window k (1..6): rows 12, 13 for window 1, then 14, 15 for window 2 and so on to 22, 23.
constexpr int curveTopRow(int k) {
    return kCurve1Top + 2 * (k - 1);
}
constexpr int kLastCurveRow = leftRow(curveTopRow(6));
// Level 1..9.
constexpr int levelColourRow(int level) {
    return 30 + level;
}

// The groups of rows the program never reads; at exit they take 9999.
struct RowRange {
    int first, last;
};
inline constexpr RowRange kUnusedRows[] = {{2, 4}, {28, 30}, {40, 65}};

}  // namespace files::settings
