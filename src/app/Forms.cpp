#include "app/Forms.h"

#include "app/AboutForms.h"
#include "app/ActiveYearsForm.h"
#include "app/MainForm.h"
#include "core/Errors.h"
#include "curves/CurveForm.h"
#include "curves/LabelDialogs.h"
#include "photo/PhotoForms.h"
#include "radiograph/PreviewForm.h"
#include "radiograph/RawImageForm.h"
#include "scales/ScaleForms.h"

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
