#pragma once

// The shared state of the program: the document of one core section and all cross-window display
// state, read and written directly by every window. Whoever changes a variable calls the redraws
// that depend on it. One thread only. Every start value is written once, in resetSharedState, which
// runs before the program starts and again when frmMain loads (tests run it between programs).
//
// Types: Integer = 16-bit (core::Integer), Long = 32-bit (positions and columns), Single = float; flags are bool.
// Arrays have inclusive bounds (core::Array / Array2 / VariantTable) and throw on a bad index.

#include <QString>
#include <utility>
#include <vector>

#include "core/BoundedArray.h"
#include "core/CurveTable.h"
#include "core/Places.h"
#include "core/Variant.h"
#include "core/VariantTable.h"

namespace app {

using core::Integer;
using core::Long;
using core::Single;
using core::Variant;

// --- Settings and state flags ----------------------------------------------------------------
extern core::Array2<Variant> References;  // (column 0..3, row 0..100): the settings table
extern bool ReferencesLoaded;             // the settings file was read without error
extern bool Saved;                        // no marker, label or note changed since the last save/import
extern Integer TwipsPerPixel;             // "Low" = 15, "High" = 12
extern QString WorkingFileName;           // the file last opened (XRF or working file) or saved as

// --- Imported data ---------------------------------------------------------------------------
extern Long DataLength;                    // data positions N = radiograph width in pixels
extern core::Array<QString> XrfHeaders;    // 0..500: first field, then the column names after "filename"
extern Integer XrfColumnCount;             // fields per data row of the XRF table
extern core::VariantTable XrfData;         // (field 0..100, row 0..200000), as read
extern core::Array<Integer> GreyProfile;   // 0..W: band mean grey per data position (dynamic)
// (column 0..XrfColumnCount, position 0..N): the curve table (dynamic); its curve columns are the
// XRF table's fields 9.. themselves (not a copy)
extern core::CurveTable Profile;
extern core::Array<Integer>
    ElementColumn;      // 0..XrfColumnCount: Profile column first shown in window k (dynamic)
extern bool XrfLoaded;  // an XRF or working file has been imported

// --- Marker model: one entry per data position, element 0 holds the column title ------------
extern core::Array<Variant> YearMark;      // "Year"; Integer level 1..9 or "---"
extern core::Array<QString> MarkerLabel;   // "Lamina"; "---" or "#" + label ("#---" = emptied)
extern core::Array<QString> MarkerNote;    // "Note";   "---" or "#" + note  ("#---" = emptied)
extern core::Array<Variant> UndoPosition;  // 0..50, newest first; Integer -9999 = empty slot
extern core::Array<Variant> UndoValue;     // 0..50: the YearMark value each change replaced
// What Undo took back, newest last, as (position, the YearMark value the undo replaced): Redo puts
// it back. A new change of the marks empties it.
extern std::vector<std::pair<Variant, Variant>> RedoEntries;
// Counts the changes of the marks (a placement, an undo, an import): what is worked out from the
// marks is worked out again when it changes.
extern Long MarksVersion;

// --- Radiograph and section display ----------------------------------------------------------
extern bool RadiographImported;
extern bool PreviewRendered;
extern bool PreviewRedrawn;
extern Integer Brightness;  // from radiographSliders(0)
extern Single Contrast;     // from radiographSliders(1)
extern Single ColumnsPerPreviewTwip;
extern Long ViewLeft;     // first display column of the section
extern Long ViewRight;    // last display column of the section
extern Integer BandRows;  // band height in radiograph rows
extern bool DragSection, DragLeftEdge, DragRightEdge;
extern Variant DragUpperLine, DragLowerLine, DragBand;  // Variants holding a flag
extern Long GrabOffset, DragAnchor;
extern Long LabelCount;
extern core::Array<Long> LabelPositions;  // 0..LabelCount, ascending
extern Long NoteCount;
extern core::Array<Long> NotePositions;  // 0..NoteCount, ascending

// --- Curves, pointer and markers -------------------------------------------------------------
extern core::Array2<Single>
    CurveValue;  // (window 0..6, position 0..N); row 0 = 1.0 after XRF import; -9999 missing
extern core::Array<Single> RatioColumn;  // 1..6 (4..6 used): denominator column, 0 = none
extern core::Array<bool> AutoRange;      // 1..6
extern core::Array<Single> SmoothW1, SmoothW2, SmoothW3, SmoothW4, SmoothW5;  // 1..6: moving-average weights
extern bool GreyCurveDrawn;
extern bool PointerActive;
extern Long PointerX;   // pointer x in curve user units
extern Variant ClickX;  // x of the last click or key action
extern bool CtrlDown;

// --- Scales and elastic overlay --------------------------------------------------------------
extern Single ElasticLastTop, ElasticLastLeft;  // 9999 once frmElastic has loaded
extern Single ElasticCentreX, ElasticCentreY;
extern double ElasticInterval;  // 9999 = not set
extern double ElasticGrabMark;
extern bool ElasticDragging, ElasticShown;

// --- Core photo and close-up -----------------------------------------------------------------
extern bool PhotoOpen, CropOpen;
extern QString PhotoFileName;
extern QString RadiographFileName;    // the radiograph imported (its run record lies beside it)
extern bool HideInvalidMeasurements;  // XRF rows of validity 0 drawn as gaps (Tool menu, settings row 70)
extern bool PhotoIsStrip;
extern Integer PhotoBrightness;
extern Single PhotoContrast;
extern Single CropLeft, CropRight, CropTop, CropBottom;  // the crop frame in photo pixels
extern bool ProfileDirty;
extern Single ProfileScale, ProfileScaleGrabY;
extern core::Array2<Single> ColourProfile;  // (column 0..n + 1, channel 0..7)
extern Single LabL, LabA, LabB;

inline constexpr Integer kUnset = 9999;     // settings, elastic spacing, window positions
inline constexpr Integer kMissing = -9999;  // a missing curve value, an empty undo slot
inline const QString kNoMarker = QStringLiteral("---");
inline const QString kEmptiedText = QStringLiteral("#---");

// A stored label or note that counts: neither "---" nor "#---".
inline bool isTextSet(const QString& s) {
    return s != kNoMarker && s != kEmptiedText;
}
// A flag kept in a Variant (DragUpperLine, DragLowerLine, DragBand).
inline bool isFlagSet(const Variant& v) {
    return v.isNumeric() && v.toDouble() != 0;
}
// A band line or the band is being dragged (in the preview or in curve window 1).
inline bool bandDragging() {
    return isFlagSet(DragUpperLine) || isFlagSet(DragLowerLine) || isFlagSet(DragBand);
}
// ClickX as a plot x (0 when it holds nothing usable).
inline double clickX() {
    return ClickX.isNumeric() ? ClickX.toDouble() : 0;
}

// The radiograph's positions and display columns: DataLength of each.
inline core::PositionAxis positionAxis() {
    return core::PositionAxis(DataLength);
}

// Every variable to its start value, and the per-position arrays undimensioned.
void resetSharedState();

}  // namespace app
