#pragma once

#include "app/AboutForms.h"
#include "app/ActiveYearsForm.h"
#include "app/FormRegistry.h"
#include "app/MainForm.h"
#include "curves/CurveForm.h"
#include "curves/LabelDialogs.h"
#include "photo/PhotoForms.h"
#include "radiograph/PreviewForm.h"
#include "radiograph/RawImageForm.h"
#include "scales/ScaleForms.h"

// The program's windows: one global instance each, created (and loaded) on first use.
namespace app {

extern FormRef<MainForm> frmMain;
extern FormRef<PreviewForm> frmPreview;
extern FormRef<RawImageForm> frmRawImage;
extern FormRef<CurveForm> frmCurve1, frmCurve2, frmCurve3, frmCurve4, frmCurve5, frmCurve6;
extern FormRef<ActiveYearsForm> frmActiveYears;
extern FormRef<ScaleForm> frmScale;
extern FormRef<MetreScaleForm> frm1m;
extern FormRef<ElasticForm> frmElastic;
extern FormRef<PhotoForm> frmPhoto;
extern FormRef<CropForm> frmCrop;
extern FormRef<LaminaNameForm> frmLaminaName;
extern FormRef<NoteForm> frmNote;
extern FormRef<AboutForm> frmAbout;
extern FormRef<TestForm> frmTest;

// Curve window k (1..6).
CurveForm& curveWindow(int k);

}  // namespace app
