#include "app/SharedState.h"

#include "files/XrfFile.h"
#include "ui/Twips.h"

namespace app {

// The variables; their start values are all set in resetSharedState below.
core::Array2<Variant> References;
bool ReferencesLoaded;
bool Saved;
Integer TwipsPerPixel;
QString WorkingFileName;

Long DataLength;
core::Array<QString> XrfHeaders;
Integer XrfColumnCount;
core::VariantTable XrfData(0, files::kMaxXrfFields, 0, files::kMaxXrfRows);  // its shape; rows come with an import
core::Array<Integer> GreyProfile;
core::CurveTable Profile;
core::Array<Integer> ElementColumn;
bool XrfLoaded;

core::Array<Variant> YearMark;
core::Array<QString> MarkerLabel;
core::Array<QString> MarkerNote;
core::Array<Variant> UndoPosition;
core::Array<Variant> UndoValue;
std::vector<std::pair<Variant, Variant>> RedoEntries;
Long MarksVersion;

bool RadiographImported;
bool PreviewRendered;
bool PreviewRedrawn;
Integer Brightness;
Single Contrast;
Single ColumnsPerPreviewTwip;
Long ViewLeft;
Long ViewRight;
Integer BandRows;
bool DragSection, DragLeftEdge, DragRightEdge;
Variant DragUpperLine, DragLowerLine, DragBand;
Long GrabOffset, DragAnchor;
Long LabelCount;
core::Array<Long> LabelPositions;
Long NoteCount;
core::Array<Long> NotePositions;

core::Array2<Single> CurveValue;
core::Array<Single> RatioColumn;
core::Array<bool> AutoRange;
core::Array<Single> SmoothW1, SmoothW2, SmoothW3, SmoothW4, SmoothW5;
bool GreyCurveDrawn;
bool PointerActive;
Long PointerX;
Variant ClickX;
bool CtrlDown;

Single ElasticLastTop, ElasticLastLeft;
Single ElasticCentreX, ElasticCentreY;
double ElasticInterval;
double ElasticGrabMark;
bool ElasticDragging, ElasticShown;

bool PhotoOpen, CropOpen;
QString PhotoFileName;
QString RadiographFileName;
bool HideInvalidMeasurements = false;
bool PhotoIsStrip;
Integer PhotoBrightness;
Single PhotoContrast;
Single CropLeft, CropRight, CropTop, CropBottom;
bool ProfileDirty;
Single ProfileScale, ProfileScaleGrabY;
core::Array2<Single> ColourProfile;
Single LabL, LabA, LabB;

void resetSharedState() {
    References.redim(0, 3, 0, 100);
    ReferencesLoaded = false;
    Saved = true;
    TwipsPerPixel = ui::kLowTwipsPerPixel;
    WorkingFileName.clear();

    DataLength = 0;
    XrfHeaders.redim(0, 500);
    XrfColumnCount = 0;
    XrfData.clear();
    GreyProfile = {};
    Profile = {};
    ElementColumn = {};
    XrfLoaded = false;

    YearMark = {};
    MarkerLabel = {};
    MarkerNote = {};
    UndoPosition.redim(0, 50, Variant(kMissing));
    UndoValue.redim(0, 50, Variant(kMissing));
    RedoEntries.clear();
    ++MarksVersion;  // never back to a value a cache may hold

    RadiographImported = PreviewRendered = PreviewRedrawn = false;
    Brightness = 0;
    Contrast = 0;
    ColumnsPerPreviewTwip = 0;
    ViewLeft = ViewRight = 0;
    BandRows = static_cast<Integer>(300 / ui::kLowTwipsPerPixel);  // a band of 300 twips
    DragSection = DragLeftEdge = DragRightEdge = false;
    DragUpperLine = DragLowerLine = DragBand = Variant(false);
    GrabOffset = DragAnchor = 0;
    LabelCount = 0;
    LabelPositions.redim(0, 0);
    NoteCount = 0;
    NotePositions.redim(0, 0);

    CurveValue = {};
    RatioColumn.redim(1, 6, 0.0f);
    AutoRange.redim(1, 6, false);
    for (auto* w : {&SmoothW1, &SmoothW2, &SmoothW3, &SmoothW4, &SmoothW5}) w->redim(1, 6, 0.0f);
    GreyCurveDrawn = false;
    PointerActive = true;
    PointerX = 0;
    ClickX = Variant();
    CtrlDown = false;

    ElasticLastTop = ElasticLastLeft = 0;
    ElasticCentreX = ElasticCentreY = 0;
    ElasticInterval = 9999;
    ElasticGrabMark = 0;
    ElasticDragging = ElasticShown = false;

    PhotoOpen = CropOpen = false;
    PhotoFileName.clear();
    RadiographFileName.clear();
    HideInvalidMeasurements = false;
    PhotoIsStrip = false;
    PhotoBrightness = 0;
    PhotoContrast = 0;
    CropLeft = CropRight = CropTop = CropBottom = 0;
    ProfileDirty = false;
    ProfileScale = 1.0f;
    ProfileScaleGrabY = 0;
    ColourProfile = {};
    LabL = LabA = LabB = 0;
}

// The start values hold from the first moment: set once the variables above are constructed.
namespace {
const bool kStartValuesSet = (resetSharedState(), true);
}  // namespace

}  // namespace app
