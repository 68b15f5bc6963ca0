// Importing XRF data (the scanner's result table) or reopening a working file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/RecentAndDropped.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "compare/windows/CompareForm.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "files/TextFile.h"
#include "files/XrfFile.h"
#include "files/XrfPlacement.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

// The scanner writes Results.txt (tabs), a spreadsheet or the program writes .csv (commas).
const QString kXrfFilter = QStringLiteral("XRF data (*.csv *.txt)|*.csv;*.txt|All files|*.*");
const QString kGuidanceTitle = QStringLiteral("Stratalyser formatting guidance");

// The element each window shows first, by column name.
const char* const kFirstElements[7] = {nullptr, "Grey", "Fe", "Mn", "Ti", "K", "Zr"};

void tell(const QString& text, const QString& title) {
    ui::dialogs().messageBox(text, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, title);
}

QString lengthMismatch(int rows, int width) {
    return QStringLiteral("The XRF data length (") + QString::number(rows) +
           QStringLiteral(" measurements) does not match with the Radiograph width (") +
           QString::number(width) +
           QStringLiteral(
               " pixels). Please change Itrax settings (or edit files) so that one pixel in radiograph "
               "corresponds exactly to one XRF measurement.");
}

QString unreadable(const QString& path, const core::RuntimeError& e) {
    QString why;
    switch (e.number()) {
        case core::kFileNotFound:
            why = QStringLiteral("it does not exist");
            break;
        case core::kPathNotFound:
            why = QStringLiteral("it is a folder");
            break;
        case core::kNotARegularFile:
            why = QStringLiteral("it is not a regular file (a pipe, a device or a socket)");
            break;
        case core::kFileTooLarge:
            why = QStringLiteral("it is far larger than an XRF table can be");
            break;
        default:
            why = QString::fromStdString(e.what());
            break;
    }
    return QStringLiteral("The file ") + QDir::toNativeSeparators(path) +
           QStringLiteral(" cannot be read (") + why + QStringLiteral("). Nothing was imported.");
}

// The file's first bytes read again (it was readable a moment ago) for what it is; a table too long
// has its lines counted a block at a time.
QString formatErrorReason(const QString& path, const files::XrfFormatError& e) {
    constexpr qint64 kHeadBytes = 64 * 1024, kBlockBytes = 1 << 20;
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(kHeadBytes) : QByteArray();
    qint64 dataRows = 0;
    if (e.problem == files::XrfFormatProblem::TooManyRows) {
        // The lines after the header's, the last one counted without its line end too.
        const qsizetype header = std::max<qsizetype>(0, head.indexOf("filename"));
        file.seek(head.indexOf('\n', header) + 1);
        char last = '\n';
        for (QByteArray block = file.read(kBlockBytes); !block.isEmpty(); block = file.read(kBlockBytes)) {
            dataRows += block.count('\n');
            last = block.back();
        }
        if (last != '\n') ++dataRows;
    }
    return files::formatErrorReason(head, e.problem, dataRows);
}

}  // namespace

// Reads the whole file and checks it before anything changes: a file that cannot be used leaves
// the program exactly as it was, with the command still there for another try.
void MainForm::ImportXRFdata(const QString& givenPath) {
    setProgress(true, DataLength);
    QString path;
    std::optional<files::XrfContents> contents;
    try {
        path = givenPath.isEmpty() ? ui::dialogs().openFile({QStringLiteral("Import XRF data"), kXrfFilter,
                                                             WorkingFileName, false})
                                   : givenPath;
        repaint();
        importXrfButton->repaint();
        contents.emplace(files::readXrfFile(path));
        if (contents->rowCount == DataLength && contents->workingFile) files::checkWorkingColumns(*contents);
    } catch (const core::CancelledError&) {
        setProgress(false);
        return;
    } catch (const files::XrfFormatError& e) {
        setProgress(false);
        tell(QStringLiteral("Format error. ") + formatErrorReason(path, e), QStringLiteral("Error"));
        return;
    } catch (const files::XrfReadError& e) {
        setProgress(false);
        tell(e.reason, kGuidanceTitle);
        return;
    } catch (const core::RuntimeError& e) {
        setProgress(false);
        tell(unreadable(path, e), QStringLiteral("Stratalyser"));
        return;
    }
    if (contents->rowCount != DataLength) {
        setProgress(false);
        if (contents->workingFile || !placeOntoColumns(*contents, path)) {
            tell(lengthMismatch(contents->rowCount, DataLength), kGuidanceTitle);
            return;
        }
    }
    workingFileIsScannerTable_ = contents->tabSeparated && !contents->workingFile;
    takeXrfContents(std::move(*contents), path);
    ProposedPositions.clear();  // proposed on the last table's curves
    DropReferenceCount();       // a count of another table
    showXrfData();
    placePhotoByRecords();  // the table's run record or positions may place an open photo
    OfferRecoveryFor(RadiographFileName, path);  // unsaved counting of these files left by a crash
    if (const int unusable = files::nonNumericPositions(XrfData, DataLength); unusable > 0) {
        const QString stepping =
            steppingBox->Text().isEmpty()
                ? QStringLiteral("please type the stepping (micron per pixel) into its box.")
                : QStringLiteral("the stepping (%1 micron) comes from the other rows.")
                      .arg(steppingBox->Text());
        tell(QStringLiteral("The positions of %1 of the %2 rows of the XRF table are not numbers: ")
                     .arg(unusable)
                     .arg(DataLength) +
                 stepping,
             QStringLiteral("Stratalyser"));
    }
}

// A scanner table of another length than the radiograph's width, measured at another step: when
// the run records or the table's positions tell where both lie, the user may have each column take
// the measurement nearest its position. False when that cannot be told or the user declines.
bool MainForm::placeOntoColumns(files::XrfContents& contents, const QString& path) {
    if (DataLength > files::kMaxXrfRows) return false;  // the working file could not be read again
    // Radiograph and table often share a folder: its records are read once.
    const auto besideRadiograph = files::scanRecordsBeside(RadiographFileName);
    const bool oneFolder = QFileInfo(RadiographFileName).absolutePath() == QFileInfo(path).absolutePath();
    const auto plan = files::planXrfPlacement(besideRadiograph,
                                              oneFolder ? besideRadiograph : files::scanRecordsBeside(path),
                                              DataLength, contents.data, contents.rowCount);
    if (!plan) return false;
    const auto microns = [](core::Millimetres mm) {
        return QString::number(std::round(mm.value * 1000 * 10) / 10);
    };
    const auto length = [](core::Millimetres mm) { return QString::number(std::round(mm.value * 10) / 10); };
    QString text =
        QStringLiteral(
            "The XRF table has %1 measurements, one every %2 micron (%3 mm of core); the radiograph has "
            "%4 columns, one every %5 micron (%6 mm). ")
            .arg(contents.rowCount)
            .arg(microns(plan->rowStep), length(plan->rowStep * contents.rowCount))
            .arg(DataLength)
            .arg(microns(plan->positions.step), length(plan->positions.step * DataLength));
    text += plan->fromRunRecords
                ? QStringLiteral("Their positions come from the scanner's run records (document.txt). ")
                : QStringLiteral(
                      "No run record gives the radiograph's positions: it is taken to cover the "
                      "stretch the measurements cover. ");
    text += QStringLiteral(
        "Each radiograph column can take the measurement nearest its position (columns outside the measured "
        "stretch get no values); the table is then placed at the radiograph's step, and a working file saved "
        "from it holds one row per column.");
    for (const QString& note : plan->notes) text += QStringLiteral("\n") + note;
    text += QStringLiteral("\n\nMatch XRF to the radiograph?");
    if (ui::dialogs().messageBox(text, ui::MessageButtons::YesNo, ui::MessageIcon::Question,
                                 kGuidanceTitle) != ui::MessageResult::Yes)
        return false;
    contents.data = files::placeXrfOnColumns(contents.data, contents.columnCount, *plan, DataLength);
    contents.rowCount = DataLength;
    return true;
}

// The table becomes the document: headers, data, the curve table and, from a working file, the
// markers, labels and notes.
void MainForm::takeXrfContents(files::XrfContents&& x, const QString& path) {
    const int n = DataLength;
    int columns = x.columnCount;
    if (x.workingFile) {
        columns -= 4;
        YearMark(0) = Variant("Year");
        RedoEntries.clear();  // the marks of another count
        ++MarksVersion;
        MarkerLabel(0) = QStringLiteral("Lamina");
        MarkerNote(0) = QStringLiteral("Note");
        for (int i = 1; i <= n; ++i) {
            YearMark(i) = x.data(columns + 2, i);
            MarkerLabel(i) = x.data(columns + 3, i).toString();
            MarkerNote(i) = x.data(columns + 4, i).toString();
        }
        saveAsButton->setCaption(QStringLiteral("Save"));
    }
    for (int h = 0; h <= files::kMaxXrfHeaderIndex; ++h)
        XrfHeaders(h) = x.headers[static_cast<std::size_t>(h)];
    XrfColumnCount = static_cast<Integer>(columns);
    XrfData = std::move(x.data);
    WorkingFileName = path;
    // The curve table's columns are the XRF fields themselves: only names and grey are written.
    Profile = files::buildCurveTable(XrfData, x.headers, columns, n, GreyProfile);
    progressBar->setValue(n);

    CurveValue.redimPreserve(6, n);
    for (int i = 1; i <= n; ++i) CurveValue(0, i) = 1.0f;
    // Room for the six windows' first elements whatever the table's width. A window whose element
    // the table lacks keeps column 0, the radiograph's grey profile: a table of fewer than nine
    // fields (no field from kcps on) has no element curves at all, and every window shows Grey.
    ElementColumn.redim(0, std::max(columns, 6));

    // The column names in every element list and every denominator list, "1" (no ratio) first.
    for (int k = 4; k <= 6; ++k) {
        curveWindow(k).denominatorList->AddItem(QStringLiteral("1"));
        curveWindow(k).denominatorList->setText(QStringLiteral("1"));
    }
    const int curves = std::max(0, columns - 8);
    for (int c = 0; c <= curves; ++c) {
        const QString name = Profile.get(c, 0).toString();
        for (int k = 1; k <= 6; ++k) {
            curveWindow(k).elementList->AddItem(name);
            if (k >= 4) curveWindow(k).denominatorList->AddItem(name);
        }
    }
    if (!XrfLoaded) {
        for (long c = 0; c <= columns; ++c) {
            const Variant name = Profile.get(c, 0);
            for (int k = 1; k <= 6; ++k) {
                if (name == kFirstElements[k]) ElementColumn(k) = static_cast<Integer>(c);
            }
        }
        for (int k = 1; k <= 6; ++k) {
            curveWindow(k).elementList->setVisible(true);
            curveWindow(k).elementList->setText(Profile.get(ElementColumn(k), 0).toString());
        }
    }
    // Without two numeric positions no stepping can be told: the box is emptied and shows red.
    const auto step = files::scannerStepMicrons(XrfData, n);
    steppingBox->setText(step ? QString::number(*step) : QString());
    tableStart_ = files::firstNumericPosition(XrfData, n);
}

// Every window shows the new data; the commands that need them are enabled.
void MainForm::showXrfData() {
    frm1m->Show();
    frmScale->Show();
    DrawScale();
    Draw1mScale();
    XrfLoaded = true;
    ShowSectionPositions();
    ArrangeCurveWindows();
    LoadCurveValues();
    CurveForm& c3 = curveWindow(3);
    frmScale->setLeft(c3.Left());
    frmScale->setTop(c3.Top() + c3.Height());
    for (int k = 6; k >= 1; --k) curveWindow(k).Show();
    RedrawCurves();
    UpdateActiveYears();
    UpdateBandLabel();

    for (ui::Button* b : {showToolsButton, importPhotoButton, saveAsButton}) b->setEnabled(true);
    for (ui::MenuItem* m : {mnuOpenPhoto, mnuSave, mnuSaveAs, mnuSummary, mnuChronology, mnuHideInvalid, mnuCompare,
                            mnuCompareProposals, mnuChronologyPlot})
        m->setEnabled(true);
    frmPreview->mnuAlignScale->setEnabled(true);
    importXrfButton->setEnabled(false);
    mnuOpenXRF->setEnabled(false);
    setProgress(false);
    Saved = true;
    RememberCore();
}

// The tools that work on the curve windows: enabled by every XRF import command (the button, the
// menu, the command line) once the import is over, whether it succeeded or not, as they work on
// the radiograph's grey curve alone as well.
void MainForm::enableCurveTools() {
    for (ui::MenuItem* m : {mnuScale, mnuElastic, mnuAlign, mnuActive, mnuShowAll, mnuPropose}) m->setEnabled(true);
    // The two position boxes stay disabled: they show the section's ends, nothing is typed there.
    for (QWidget* w :
         std::initializer_list<QWidget*>{windowFrame, sectionEndCaptions(0), sectionEndCaptions(1),
                                         pointerCaption, pointerReadout, photoFrame}) {
        w->setEnabled(true);
    }
    CurveForm& c1 = curveWindow(1);
    for (ui::MenuItem* m : {c1.mnuAlign, c1.mnuShowAll, c1.mnuShow123, c1.mnuShow456, c1.mnuHideOthers})
        m->setEnabled(true);
}

void MainForm::mnuPropose_Click() {
    frmPropose->Show();
}

// The scanner's own verdict on each measurement, shown or not: the curves are built again, the
// table keeps every value as read.
void MainForm::mnuHideInvalid_Click() {
    HideInvalidMeasurements = !HideInvalidMeasurements;
    mnuHideInvalid->setChecked(HideInvalidMeasurements);
    LoadCurveValues();
    RedrawCurves();
}

void MainForm::importXrfButton_Click() {
    ImportXRFdata();
    enableCurveTools();
}

}  // namespace app
