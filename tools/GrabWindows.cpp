// stratalyser-grab OUTDIR [RADIOGRAPH [markers][,tools][,high][,propose][,section=L:R] [XRF [PHOTO]]]
//                  | OUTDIR --demo [OPTIONS] | OUTDIR --manual MANUAL.md (two pages of the manual):
// starts the program's windows with the shipped settings (from a copy, so nothing is changed), imports the
// radiograph if one is named (and its XRF table if one is named too; then, with "markers", places a dozen
// boundaries of three levels with the keys and leaves the pointer over the plot; "tools" shows the scales and
// the elastic scale, as "Show tools" does (and "markers" with it); with "high", picks the "High"
// monitor resolution), opens a curve window's pop-up menu and the note dialog, and saves what the screen
// shows as PNG files (each of the six curve windows as curve-K.png), for looking at the windows as
// a user would. With a photo it also opens the photo and its close-up (photo.png, crop.png), the
// close-up's pointer following the curves'. "section=L:R" moves the section to columns L to R first, as a
// drag on the preview leaves it; "propose" proposes boundaries over the whole core; "compare" compares the
// count with itself as it was before two boundaries were left out and one added; "chronology" opens the
// chronology's window and its plot; "export" opens the File menu and the Export picture window, and
// exports the curve windows as exported-curves.png. Run it under xvfb-run.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/AboutForms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "compare/windows/CompareForm.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "curves/windows/LabelDialogs.h"
#include "exporting/windows/ExportForm.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/ScriptedDialogs.h"

// Two pages of the manual as a reader sees them: its beginning and its keyboard table.
int grabManualPages(const QString& manual, const QString& out) {
    QFile file(manual);
    if (!file.open(QIODevice::ReadOnly)) return 1;
    QTextBrowser page;
    page.setSearchPaths({QFileInfo(manual).absolutePath()});
    page.document()->setMarkdown(QString::fromUtf8(file.readAll()));
    page.resize(1240, 1100);  // the screenshots of the whole screen are 1200 pixels wide
    page.show();
    page.verticalScrollBar()->setValue(0);
    page.grab().save(out + QStringLiteral("/manual-page-1.png"));
    QTextCursor heading = page.document()->find(QStringLiteral("The keyboard and the mouse"));
    heading = page.document()->find(QStringLiteral("The keyboard and the mouse"), heading);  // past the contents line
    const QRectF block = page.document()->documentLayout()->blockBoundingRect(heading.block());
    page.verticalScrollBar()->setValue(static_cast<int>(block.top()) - 10);
    page.grab().save(out + QStringLiteral("/manual-page-2.png"));
    return 0;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    if (argc > 3 && QByteArray(argv[2]) == "--manual") return grabManualPages(QString::fromLocal8Bit(argv[3]), out);
    QTemporaryDir settings;
    QDir(settings.path()).mkpath(QStringLiteral("References"));
    const QString copy = settings.filePath(QStringLiteral("References/Stratalyser_References.csv"));
    QFile::copy(
        QCoreApplication::applicationDirPath() + QStringLiteral("/References/Stratalyser_References.csv"),
        copy);
    app::setSettingsFilePath(copy);
    app::setRecoveryFolder(settings.filePath(QStringLiteral("recovery")));

    app::frmMain->Show();
    // "--demo" in place of the radiograph: the demonstration core, as the program opens it.
    const bool demo = argc > 2 && QByteArray(argv[2]) == "--demo";
    QTemporaryDir demoFolder;
    if (demo) {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        ui::ScriptedDialogs* record = scripted.get();
        ui::installDialogs(std::move(scripted));
        app::openFromCommandLine(app::makeDemoCore(demoFolder.path()));
        for (const auto& shown : record->shown()) std::fprintf(stderr, "dialog: %s\n", qPrintable(shown.text));
    }
    const bool radiograph = argc > 2 && !demo;
    if (radiograph) {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        scripted->answerOpen(QString::fromLocal8Bit(argv[2]));
        if (argc > 4) scripted->answerOpen(QString::fromLocal8Bit(argv[4]));
        if (argc > 5) scripted->answerOpen(QString::fromLocal8Bit(argv[5]));
        ui::installDialogs(std::move(scripted));
        app::frmMain->importRadiographButton_Click();
        app::frmRawImage->Show();
        if (argc > 4) app::frmMain->importXrfButton_Click();
    }
    app::frmActiveYears->Show();
    app::CurveForm& curve = radiograph || demo ? app::frmCurve1.get() : app::frmCurve4.get();
    curve.Show();
    const QList<QByteArray> options = argc > 3 ? QByteArray(argv[3]).split(',') : QList<QByteArray>();
    if (radiograph && options.contains("high")) app::frmMain->resolutionList->setListIndex(0);
    if (options.contains("markers")) {
        // Twelve boundaries, levels 1, 3 and 5 in turn, spread over the section, then the pointer.
        const long span = app::ViewRight - app::ViewLeft;
        for (int i = 0; i < 12; ++i) {
            app::PointerX = app::ViewLeft + 8 + (span - 16) * i / 11;
            app::SetMarker(48 + (i % 3 == 0 ? 1 : i % 3 == 1 ? 3 : 5));
        }
        if (app::XrfLoaded) {
            // Three labelled laminae across the core and a note, as their dialogs leave them.
            for (int i = 1; i <= 3; ++i) app::MarkerLabel(app::DataLength * i / 4) = QStringLiteral("#L%1").arg(i);
            app::MarkerNote(app::DataLength - app::ViewLeft - span / 2) = QStringLiteral("#Tephra top");
            app::RedrawCurves();
        } else {
            app::RedrawGreyCurve();
        }
        app::ShowCurvePointer(app::ViewLeft + span / 3.0, curve.plot->ScaleHeight());
    }
    if ((options.contains("markers") || options.contains("tools")) && app::XrfLoaded) {
        // The tools shown and the elastic scale stretched to a spacing of 15 positions.
        app::frmMain->showToolsButton_Click();
        app::frmMain->mnuElastic_Click();
        app::ElasticShown = true;
        app::ElasticDragging = true;  // as a drag on the scale does
        app::ElasticGrabMark = 1;
        app::DrawElasticScale(app::frmElastic->centreLine->X1() + 15);
        app::ElasticDragging = false;
        app::ShowCurvePointer(app::PointerX, curve.plot->ScaleHeight());
    }
    // "section=L:R": the section moved to columns L to R, as a drag leaves it.
    for (const QByteArray& option : options) {
        if (!option.startsWith("section=") || !radiograph) continue;
        const QList<QByteArray> ends = option.mid(8).split(':');
        if (ends.size() != 2 || app::ColumnsPerPreviewTwip <= 0) continue;
        const double left = ends[0].toDouble() / app::ColumnsPerPreviewTwip;
        const double width = (ends[1].toDouble() - ends[0].toDouble()) / app::ColumnsPerPreviewTwip;
        for (ui::Shape* frame : {app::frmPreview->sectionFrame, app::frmRawImage->sectionFrame})
            frame->place(left, frame->Top(), width, frame->Height());
        app::RenderSection();
    }
    QTemporaryDir comparing;
    // "compare": this count against itself as it was, before two boundaries were left out and one added.
    if (options.contains("compare") && app::XrfLoaded) {
        const QString reference = comparing.filePath(QStringLiteral("reference.csv"));
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        scripted->answerSave(reference).answerOpen(reference);
        ui::installDialogs(std::move(scripted));
        app::frmMain->SaveFile(1);
        long changed = 0;
        for (long p = 1; p <= app::DataLength && changed < 2; ++p)
            if (app::YearMark(p).isNumeric()) app::YearMark(p) = core::Variant("---"), ++changed;
        app::YearMark(app::DataLength - (app::ViewLeft + app::ViewRight) / 2) = core::Variant(core::Integer{2});
        app::frmMain->mnuCompare->trigger();
    }
    if (options.contains("chronology") && app::XrfLoaded) {  // the window, and the plot of the demonstration's count
        app::KeepChronologyPlacement(2013, 0);
        app::frmMain->mnuChronology->trigger();
        app::frmMain->mnuChronologyPlot->trigger();
    }
    if (options.contains("export") && app::XrfLoaded) {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        scripted->answerSave(out + QStringLiteral("/exported-curves.png"));
        ui::installDialogs(std::move(scripted));
        app::frmMain->mnuExportPicture->trigger();
        app::frmExport->widthBox->setText(QStringLiteral("1200"));
        app::frmExport->saveButton_Click();
        app::frmMain->mnuExportPicture->trigger();  // shown again, for its picture
        app::frmMain->mnuFile->menu()->popup(app::frmMain->mapToGlobal(QPoint(0, 0)));
        app::KeepChronologyPlacement(2013, 0);  // the pointer's readout with the varve's year
        app::ShowPointerDepth(app::ViewLeft + 0.85 * (app::ViewRight - app::ViewLeft));
    }
    if (options.contains("propose") && app::XrfLoaded) {  // boundaries proposed on the grey profile
        app::frmMain->mnuPropose->trigger();
        app::frmPropose->wholeCoreCheck->setValue(1);  // the whole core: the preview shows them all
        app::frmPropose->proposeButton_Click();
    }
    const bool photo = (radiograph && argc > 5 && app::XrfLoaded) || (demo && app::PhotoOpen);
    if (photo) {
        if (!demo) app::frmMain->importPhotoButton_Click();
        app::frmPhoto->mnuCrop_Click();
        const double x = app::ViewLeft + (app::ViewRight - app::ViewLeft) / 3.0;
        app::ShowCurvePointer(x, curve.plot->ScaleHeight());
        app::ShowCropPointer(x, curve.plot->ScaleWidth());
    }
    if (!radiograph && !demo) app::frmNote->Show();

    auto grab = [&](const QString& name, QWidget* w) {
        w->grab().save(out + QLatin1Char('/') + name + ".png");
    };
    QTimer::singleShot(300, [&] {
        grab(QStringLiteral("main"), &app::frmMain.get());
        grab(QStringLiteral("active-years"), &app::frmActiveYears.get());
        grab(QStringLiteral("note"), &app::frmNote.get());
        grab(QStringLiteral("lamina-name"), &app::frmLaminaName.get());
        app::frmMain->mnuAbout->trigger();  // as the user opens it: it names the settings file in use
        grab(QStringLiteral("about"), &app::frmAbout.get());
        app::frmAbout->Hide();
        grab(QStringLiteral("preview"), &app::frmPreview.get());
        grab(QStringLiteral("raw-image"), &app::frmRawImage.get());
        if (!radiograph && !demo) {
            curve.PopupMenu(curve.mnuRB);
            curve.mnuRB->menu()->move(curve.mapToGlobal(QPoint(40, 20)));
        }
    });
    QTimer::singleShot(700, [&] {
        grab(QStringLiteral("curve-window"), &curve);
        grab(QStringLiteral("curve-menu"), curve.mnuRB->menu());
        for (int k = 1; k <= 6; ++k) grab(QStringLiteral("curve-%1").arg(k), &app::curveWindow(k));
        grab(QStringLiteral("scale"), &app::frmScale.get());
        grab(QStringLiteral("scale-1m"), &app::frm1m.get());
        grab(QStringLiteral("elastic"), &app::frmElastic.get());
        if (app::frmPropose.exists()) grab(QStringLiteral("propose"), &app::frmPropose.get());
        if (app::frmCompare.exists()) grab(QStringLiteral("compare"), &app::frmCompare.get());
        if (app::frmChronology.exists()) grab(QStringLiteral("chronology"), &app::frmChronology.get());
        if (app::frmChronologyPlot.exists()) grab(QStringLiteral("chronology-plot"), &app::frmChronologyPlot.get());
        if (app::frmExport.exists()) {
            grab(QStringLiteral("export"), &app::frmExport.get());
            grab(QStringLiteral("file-menu"), app::frmMain->mnuFile->menu());
        }
        if (photo) {
            grab(QStringLiteral("photo"), &app::frmPhoto.get());
            grab(QStringLiteral("crop"), &app::frmCrop.get());
        }
        QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/screen.png"));
        curve.mnuRB->menu()->hide();
        app::endProgram();  // the program's own ending: no question about the unsaved markers
    });
    const int code = QApplication::exec();
    app::unloadAllForms();
    return code;
}
