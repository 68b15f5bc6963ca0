#include "app/windows/Forms.h"

#include "app/windows/AboutForms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/MainForm.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "compare/windows/CompareForm.h"
#include "core/Errors.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/LabelDialogs.h"
#include "exporting/windows/ExportForm.h"
#include "photo/windows/PhotoForms.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "scales/windows/ScaleForms.h"

namespace app {

// Declared in the order the program first needs them; unloadAllForms destroys them in reverse.
FormRef<MainForm> frmMain;
FormRef<PreviewForm> frmPreview;
FormRef<RawImageForm> frmRawImage;
FormRef<CurveForm> frmCurve1([] { return std::make_unique<CurveForm>(1); });
FormRef<CurveForm> frmCurve2([] { return std::make_unique<CurveForm>(2); });
FormRef<CurveForm> frmCurve3([] { return std::make_unique<CurveForm>(3); });
FormRef<CurveForm> frmCurve4([] { return std::make_unique<CurveForm>(4); });
FormRef<CurveForm> frmCurve5([] { return std::make_unique<CurveForm>(5); });
FormRef<CurveForm> frmCurve6([] { return std::make_unique<CurveForm>(6); });
FormRef<ActiveYearsForm> frmActiveYears;
FormRef<ScaleForm> frmScale;
FormRef<MetreScaleForm> frm1m;
FormRef<ElasticForm> frmElastic;
FormRef<PhotoForm> frmPhoto;
FormRef<CropForm> frmCrop;
FormRef<LaminaNameForm> frmLaminaName;
FormRef<NoteForm> frmNote;
FormRef<AboutForm> frmAbout;
FormRef<TestForm> frmTest;
FormRef<ProposeForm> frmPropose;
FormRef<CompareForm> frmCompare;
FormRef<ChronologyForm> frmChronology;
FormRef<ExportForm> frmExport;
FormRef<ChronologyPlotForm> frmChronologyPlot;

CurveForm& curveWindow(int k) {
    switch (k) {
        case 1:
            return frmCurve1.get();
        case 2:
            return frmCurve2.get();
        case 3:
            return frmCurve3.get();
        case 4:
            return frmCurve4.get();
        case 5:
            return frmCurve5.get();
        case 6:
            return frmCurve6.get();
        default:
            throw core::SubscriptError("No curve window " + std::to_string(k));
    }
}

}  // namespace app
