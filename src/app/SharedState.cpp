#include "app/SharedState.h"

#include "ui/Form.h"

namespace app {

core::Array2<Variant> References(0, 3, 0, 100);
bool ReferencesLoaded = false;
bool Saved = true;
Integer TwipsPerPixel = 15;
QString WorkingFileName;

Integer DataLength = 0;
core::Array<QString> XrfHeaders(0, 500);
Integer XrfColumnCount = 0;
core::FixedTable<Variant> XrfData(0, 100, 0, 26000);
core::Array<Integer> GreyProfile;
core::Array2<Variant> Profile;
core::Array<Integer> ElementColumn;
bool XrfLoaded = false;

core::Array<Variant> YearMark;
core::Array<QString> MarkerLabel;
core::Array<QString> MarkerNote;
core::Array<Variant> UndoPosition(0, 50, Variant(kMissing));
core::Array<Variant> UndoValue(0, 50, Variant(kMissing));

bool RadiographImported = false;
bool PreviewRendered = false;
bool PreviewRedrawn = false;
Integer Brightness = 0;
Single Contrast = 0;
Single ColumnsPerPreviewTwip = 0;
Long ViewLeft = 0;
Long ViewRight = 0;
Integer BandRows = 20;
bool DragSection = false, DragLeftEdge = false, DragRightEdge = false;
Variant DragUpperLine(false), DragLowerLine(false), DragBand(false);
Long GrabOffset = 0, DragAnchor = 0;
Integer LabelCount = 0;
core::Array<Integer> LabelPositions(0, 0);
Integer NoteCount = 0;
core::Array<Integer> NotePositions(0, 0);

core::Array2<Single> CurveValue;
core::Array<Single> RatioColumn(1, 6, 0.0f);
core::Array<bool> AutoRange(1, 6, false);
core::Array<Single> SmoothW1(1, 6, 0.0f), SmoothW2(1, 6, 0.0f), SmoothW3(1, 6, 0.0f), SmoothW4(1, 6, 0.0f),
    SmoothW5(1, 6, 0.0f);
bool GreyCurveDrawn = false;
bool PointerActive = true;
Long PointerX = 0;
Variant ClickX;
bool CtrlDown = false;

Single ElasticLastTop = 0, ElasticLastLeft = 0;
Single ElasticCentreX = 0, ElasticCentreY = 0;
double ElasticInterval = 9999;
double ElasticGrabMark = 0;
bool ElasticDragging = false, ElasticShown = false;

bool PhotoOpen = false, CropOpen = false;
QString PhotoFileName;
bool PhotoIsStrip = false;
Integer PhotoBrightness = 0;
Single PhotoContrast = 0;
Single CropLeft = 0, CropRight = 0, CropTop = 0, CropBottom = 0;
bool ProfileDirty = false;
Single ProfileScale = 1.0f, ProfileScaleGrabY = 0;
core::Array2<Single> ColourProfile;
Single LabL = 0, LabA = 0, LabB = 0;

void resetSharedState() {
    References.redim(0, 3, 0, 100);
    ReferencesLoaded = false;
    Saved = true;
    TwipsPerPixel = ui::kLowTwipsPerPixel;
    ui::setTwipsPerPixel(TwipsPerPixel);
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

    RadiographImported = PreviewRendered = PreviewRedrawn = false;
    Brightness = 0;
    Contrast = 0;
    ColumnsPerPreviewTwip = 0;
    ViewLeft = ViewRight = 0;
    BandRows = 20;
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

}  // namespace app
