// Boundary markers: placing, deleting, undoing and drawing them.
#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "compare/windows/CompareForm.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "photo/windows/PhotoForms.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/Dialogs.h"
#include "ui/KeyCodes.h"

namespace app {

namespace {

constexpr core::Colour kLabelColour = core::rgb(0, 255, 255);
constexpr core::Colour kNoteColour = core::rgb(255, 255, 255);

void redrawAll() {
    if (XrfLoaded) {
        RedrawCurves();
    } else {
        RedrawGreyCurve();
    }
}

int levelOf(const Variant& mark) {
    if (!mark.isNumeric()) return 0;
    for (int level = 1; level <= 9; ++level) {
        if (mark == level) return level;
    }
    return 0;
}

}  // namespace

int MarkerLevel(core::Position position) {
    return YearMark.contains(position) ? levelOf(YearMark(position)) : 0;
}

core::PositionPoint positionOf(double plotX) {
    return positionAxis().positionOf(
        core::ColumnPoint((ViewLeft + plotX) - curveWindow(1).plot->ScaleLeft()));
}

std::optional<core::Position> markerAt(core::PositionPoint point) {
    if (!std::isfinite(point.value) || std::abs(point.value) > DataLength + 1.0) return std::nullopt;
    const core::Position p = core::nearestPosition(point);
    // Element 0 holds the column title; positions beyond the data do not exist.
    if (!positionAxis().holds(p) || !YearMark.contains(p)) return std::nullopt;
    return p;
}

void SetMarker(int code) {
    if (!PointerActive) {
        UpdateActiveYears();
        MarkCountUnsaved();
        return;
    }
    int level = 0;
    double x = 0;
    if (code >= ui::kKey1 && code <= ui::kKey9) {
        level = code - ui::kKey0;
        x = PointerX;
    } else if (code >= ui::kKeyNumpad1 && code <= ui::kKeyNumpad9) {
        level = code - ui::kKeyNumpad0;
        x = PointerX;
    } else if (code < 10) {
        level = code;
        x = clickX();
    }
    const core::PositionPoint position = positionOf(x);
    const auto at = level >= 1 ? markerAt(position) : std::nullopt;
    if (level >= 1 && !at) return;  // beyond the data: refused, nothing changes

    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
    if (level < 1) {
        UpdateActiveYears();
        MarkCountUnsaved();
        return;
    }
    const auto colour = static_cast<core::Colour>(LevelColour(level).toDouble());
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).plot;
        p->Line(x, 0, x, p->ScaleHeight(), colour);
        p->commit();
    }
    PushUndo(Variant(position.value), YearMark(*at));
    YearMark(*at) = Variant(static_cast<Integer>(level));
    DropProposalsAt(*at);
    UpdateActiveYears();
    MarkCountUnsaved();
}

void SetMarkerFromKey(int keyCode) {
    // Only the digits of either keyboard mark (0 as "no boundary"): Ctrl on its way to a shortcut,
    // Shift or a letter without a command changes nothing, and leaves a saved count saved.
    const bool digit = (keyCode >= ui::kKey0 && keyCode <= ui::kKey9) ||
                       (keyCode >= ui::kKeyNumpad0 && keyCode <= ui::kKeyNumpad9);
    if (digit) SetMarker(keyCode);
}

namespace {
// The newest undo entry; the oldest of a full list is pushed out.
void rememberForUndo(const Variant& position, const Variant& value) {
    for (long i = UndoPosition.upper(); i >= 1; --i) {
        UndoPosition(i) = UndoPosition(i - 1);
        UndoValue(i) = UndoValue(i - 1);
    }
    UndoPosition(0) = position;
    UndoValue(0) = value;
}
}  // namespace

void PushUndo(const Variant& position, const Variant& value) {
    rememberForUndo(position, value);
    RedoEntries.clear();  // a new change: what was undone before it is no longer redone
}

namespace {
// A right-click Delete this close to a boundary, label or note (in plot pixels) takes it.
constexpr double kDeleteReachPixels = 4;

bool isMarked(core::Position p) {
    return MarkerLevel(p) > 0 || (MarkerLabel.contains(p) && isTextSet(MarkerLabel(p))) ||
           (MarkerNote.contains(p) && isTextSet(MarkerNote(p)));
}

// The marked position nearest the plot's x, within reach.
std::optional<core::Position> markedNear(core::Position under) {
    const ui::PictureBox* plot = curveWindow(1).plot;
    const int pixels = plot->surface().widthPixels();
    const double columnsPerPixel = pixels > 0 ? std::abs(plot->ScaleWidth()) / pixels : 1;
    const long reach = std::max(1L, std::lround(kDeleteReachPixels * columnsPerPixel));
    for (long d = 0; d <= reach; ++d) {
        for (const long p : {under.value - d, under.value + d}) {
            if (p >= 1 && p <= DataLength && isMarked(core::Position(p))) return core::Position(p);
        }
    }
    return std::nullopt;
}
}  // namespace

void DeleteMarker() {
    const auto under = markerAt(positionOf(clickX()));
    if (!under) return;  // beyond the data
    const auto at = markedNear(*under);
    if (!at) {
        ui::dialogs().beep();  // nothing there to delete
        return;
    }
    for (const core::Position p : {*at, *at + 1, *at - 1}) {
        if (p < core::Position(1) || !YearMark.contains(p)) continue;  // never the column titles in element 0
        YearMark(p) = Variant(kNoMarker);
        if (MarkerLabel.contains(p)) MarkerLabel(p) = kNoMarker;
        if (MarkerNote.contains(p)) MarkerNote(p) = kNoMarker;
    }
    RedoEntries.clear();
    MarkCountUnsaved();  // a deletion is a change of the count like any other
    redrawAll();
    UpdateActiveYears();
}

void UndoMarker() {
    if (UndoPosition(0) == kMissing || UndoValue(0) == kMissing) {
        ui::dialogs().beep();
    } else {
        // An entry from an earlier radiograph that lies beyond the present data is dropped unused.
        const auto at = UndoPosition(0).isNumeric()
                            ? markerAt(core::PositionPoint(UndoPosition(0).toDouble()))
                            : std::nullopt;
        if (UndoAcceptedProposals(UndoPosition(0), UndoValue(0))) {
            RedoEntries.emplace_back(UndoPosition(0), UndoValue(0));
            MarkCountUnsaved();
        } else if (at) {
            RedoEntries.emplace_back(UndoPosition(0), YearMark(*at));
            YearMark(*at) = UndoValue(0);
            MarkCountUnsaved();
        } else {
            ui::dialogs().beep();
        }
        const long oldest = UndoPosition.upper();
        for (long i = 0; i < oldest; ++i) {
            UndoPosition(i) = UndoPosition(i + 1);
            UndoValue(i) = UndoValue(i + 1);
        }
        UndoPosition(oldest) = Variant(kMissing);
        UndoValue(oldest) = Variant(kMissing);
    }
    redrawAll();
    UpdateActiveYears();
}

void RedoMarker() {
    if (RedoEntries.empty()) {
        ui::dialogs().beep();
        return;
    }
    const auto [position, value] = RedoEntries.back();
    RedoEntries.pop_back();
    const auto at = position.isNumeric() ? markerAt(core::PositionPoint(position.toDouble())) : std::nullopt;
    if (RedoAcceptedProposals(position, value)) {
        rememberForUndo(position, value);
    } else if (at) {
        rememberForUndo(position, YearMark(*at));
        YearMark(*at) = value;
        if (levelOf(value)) DropProposalsAt(*at);  // as placing it did
    } else {
        ui::dialogs().beep();
    }
    MarkCountUnsaved();
    redrawAll();
    UpdateActiveYears();
}

void UndoRedoOrActivationKey(int keyCode, int shift) {
    if (keyCode == ui::kKeyControl) CtrlDown = true;
    if (!CtrlDown) return;
    if (keyCode == ui::kKeyZ) (shift & ui::kShiftMask) ? RedoMarker() : UndoMarker();
    if (keyCode == ui::kKeyY) RedoMarker();
    if (keyCode == ui::kKeyA) ToggleActivation();
}

void DrawMarkers() {
    if (frmMain->importRadiographButton->isEnabled()) return;  // no radiograph yet
    const ui::PictureBox* first = curveWindow(1).plot;
    const double left = core::roundHalfEven(first->ScaleLeft()), top = core::roundHalfEven(first->ScaleTop());
    const double width = core::roundHalfEven(first->ScaleWidth()),
                 height = core::roundHalfEven(first->ScaleHeight());
    ui::Surface* plots[6];
    for (int k = 1; k <= 6; ++k) {
        plots[k - 1] = &curveWindow(k).plot->surface();
        plots[k - 1]->setScale(ViewLeft, 0, ViewRight - ViewLeft, 1);
    }
    core::Colour colours[10] = {};
    for (int level = 1; level <= 9; ++level)
        colours[level] = static_cast<core::Colour>(LevelColour(level).toDouble());
    const core::PositionAxis axis = positionAxis();
    for (long x = ViewLeft; x <= ViewRight - 1; ++x) {
        if (x >= DataLength - 1) continue;
        const core::Position p = axis.positionOf(core::Column(x));
        if (!YearMark.contains(p)) continue;
        const int level = levelOf(YearMark(p));
        const bool labelled = MarkerLabel.contains(p) && isTextSet(MarkerLabel(p));
        const bool noted = !labelled && MarkerNote.contains(p) && isTextSet(MarkerNote(p));
        for (ui::Surface* plot : plots) {
            if (level) plot->line(x, 0, x, 1, colours[level]);
            if (labelled) plot->line(x, 0, x, 1, kLabelColour);
            if (noted) plot->line(x, 0.7, x, 1, kNoteColour);
        }
    }
    DrawProposals(plots, 6);
    DrawReferenceTicks(plots, 6);
    for (ui::Surface* plot : plots) plot->setScale(left, top, width, height);
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->repaintChanged();
    DrawMarkerLabels();
}

// Marking on or off, for all six windows at once.
void ToggleActivation() {
    const bool activate = !curveWindow(1).mnuActivate->Checked();
    frmMain->mnuActive->setChecked(activate);
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        w.mnuActivate->setChecked(activate);
        for (ui::MenuItem* m :
             {w.mnuOneYear, w.mnuHalfYear, w.mnuLamina, w.mnuNote, w.mnuUndo, w.mnuRedo, w.mnuDelete}) {
            m->setEnabled(activate);
        }
        for (ui::MenuItem* m : w.mnuLevel) m->setEnabled(activate);
        w.plot->Cls();
    }
    if (frmCrop.exists()) frmCrop->pointerLine->setVisible(activate);  // a new close-up follows PointerActive
    PointerActive = activate;
}

}  // namespace app
