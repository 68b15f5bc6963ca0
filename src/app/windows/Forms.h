#pragma once

#include "app/windows/FormRegistry.h"

// The program's windows: one global instance each, created (and loaded) on first use. Declared
// here without their classes: a file that uses a window's controls includes that window's header.
namespace app {

class MainForm;
class PreviewForm;
class RawImageForm;
class CurveForm;
class ActiveYearsForm;
class ScaleForm;
class MetreScaleForm;
class ElasticForm;
class PhotoForm;
class CropForm;
class LaminaNameForm;
class NoteForm;
class AboutForm;
class TestForm;
class ProposeForm;
class CompareForm;
class ChronologyForm;
class ExportForm;
class ChronologyPlotForm;

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
extern FormRef<ProposeForm> frmPropose;
extern FormRef<CompareForm> frmCompare;
extern FormRef<ChronologyForm> frmChronology;
extern FormRef<ExportForm> frmExport;
extern FormRef<ChronologyPlotForm> frmChronologyPlot;

// Curve window k (1..6).
CurveForm& curveWindow(int k);

}  // namespace app
