#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "SampleFiles.h"
#include "SynthCore.h"
#include "TestSupport.h"
#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/AboutForms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/RecentAndDropped.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "curves/windows/LabelDialogs.h"
#include "files/FieldSyntax.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "photo/CloseUp.h"
#include "photo/Lab.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/Adjust.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/KeyCodes.h"
#include "ui/Screen.h"

// A fresh program for every test: its own copy of the shipped settings file in a temporary
// folder, a fixed screen, scripted dialogs, and everything torn down afterwards.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::screen::overrideSizePixels(1280, 1024);
        QDir(dir.path()).mkpath(QStringLiteral("References"));
        settingsPath = dir.filePath(QStringLiteral("References/Stratalyser_References.csv"));
        app::setSettingsFilePath(settingsPath);
        app::setRecoveryFolder(dir.filePath(QStringLiteral("recovery")));  // never the user's own
        QFile::copy(testsupport::sourceFile("References/Stratalyser_References.csv"), settingsPath);
    }
    void TearDown() override {
        restart();
        app::setSettingsFilePath(QString());
        app::setRecoveryFolder(QString());
        ui::screen::overrideSizePixels(0, 0);
    }

    // The settings table of the shipped file, and of the file as the program left it.
    static core::Array2<core::Variant> settingsIn(const QString& path) {
        core::Array2<core::Variant> table(0, 3, 0, 100);
        files::readSettings(files::readFileBytes(path), table);
        return table;
    }
    static core::Array2<core::Variant> shippedSettings() {
        return settingsIn(testsupport::sourceFile("References/Stratalyser_References.csv"));
    }
    core::Array2<core::Variant> savedSettings() const { return settingsIn(settingsPath); }
    void writeSettings(const core::Array2<core::Variant>& table) {
        files::saveFileBytes(settingsPath, files::writeSettings(table));
    }
    // Starts the program: the main window loads (reading the settings) and is shown.
    app::MainForm& start() {
        app::MainForm& main = app::frmMain.get();
        main.Show();
        return main;
    }

    // The real YAN8A1 core: its radiograph and its scanner table imported through the buttons.
    void importRealCore() {
        openRadiograph(testsupport::realData("radiograph.bmp"));
        importXrf(testsupport::realData("Results.txt"));
        ASSERT_TRUE(app::XrfLoaded);
    }
    // Starts the program and imports the picture at path through the button, as a user does.
    app::MainForm& openRadiograph(const QString& path) {
        app::MainForm& main = start();
        dialogs->answerOpen(path);
        main.importRadiographButton->click();
        return main;
    }
    // The synthetic core of `width` columns: its radiograph imported through the button, its table
    // written beside it in both forms (Results.txt with tabs, Results.csv with commas).
    void openSyntheticCore(int width, int height = 60, bool colour = false, int fields = 55) {
        core = synth::makeVarvedCore(width, height, colour);
        const QString picture = dir.filePath("core.bmp");
        ASSERT_TRUE(core.radiograph.convertToFormat(QImage::Format_RGB888).save(picture, "BMP"));
        writeFile(dir.filePath("Results.txt"), synth::makeXrfTable(core, true, fields));
        writeFile(dir.filePath("Results.csv"), synth::makeXrfTable(core, false, fields));
        openRadiograph(picture);
        ASSERT_EQ(app::DataLength, width);
    }
    // File > Save as..., the working file named `path` in its dialog.
    void saveAs(const QString& path) {
        dialogs->answerSave(path);
        app::frmMain->mnuSaveAs->trigger();
    }
    void importXrf(const QString& path, bool byMenu = false) {
        dialogs->answerOpen(path);
        byMenu ? app::frmMain->mnuOpenXRF->trigger() : app::frmMain->importXrfButton->click();
    }
    // The section rectangle `width` twips wide from `left` (the whole radiograph by default) in the
    // preview and the raw image window, as dragging it would.
    static app::PreviewForm& placeSection(double left = 0, double width = 0) {
        app::PreviewForm& preview = app::frmPreview.get();
        for (ui::Shape* shape : {preview.sectionFrame, app::frmRawImage->sectionFrame})
            shape->place(left, shape->Top(), width > 0 ? width : preview.previewImage->Width(), shape->Height());
        app::RenderSection();
        return preview;
    }
    // Quits and starts the program again with the same files on disk, as a user does the next day.
    void restart() {
        app::unloadAllForms();
        app::resetSharedState();
        ui::setTwipsPerPixel(ui::kLowTwipsPerPixel);
        app::resetProgramEnded();
        ui::setStartFolder(QString());
        dialogs->clearRecord();
    }
    // The text of the one message shown since the record was cleared, or how many there were.
    QString onlyMessage() {
        const auto messages = dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
        return messages.size() == 1 ? messages[0].text : QStringLiteral("(%1 messages)").arg(messages.size());
    }
    // The lines of a file the program wrote (CR LF ends).
    static QStringList linesOf(const QString& path) {
        return QString::fromUtf8(files::readFileBytes(path)).split("\r\n", Qt::SkipEmptyParts);
    }
    static QString writeFile(const QString& path, const QByteArray& bytes) {
        files::saveFileBytes(path, bytes);
        return path;
    }

    // Curve window k's plot; between full redraws it shows position p at pixel column columnOf(p).
    static ui::PictureBox* plot(int k) { return app::curveWindow(k).plot; }
    static int columnOf(long p) { return static_cast<int>(app::DataLength - p - app::ViewLeft); }
    // ... and in a full redraw, which spreads ViewLeft..ViewRight over the plot's whole width (the
    // plot is two pixels wider than the section).
    static int redrawnColumnOf(long p) {
        const double x = app::DataLength - p - app::ViewLeft;
        return qRound(x * plot(1)->surface().widthPixels() / (app::ViewRight - app::ViewLeft));
    }
    // The curve windows (1..6) for which `holds` is true.
    static std::vector<int> curveWindowsWhere(const std::function<bool(int)>& holds) {
        std::vector<int> windows;
        for (int k = 1; k <= 6; ++k)
            if (holds(k)) windows.push_back(k);
        return windows;
    }
    static QRgb shown(int k, int column, int row = 5) { return plot(k)->Image().pixel(column, row); }
    // The pointer over window k at position p, and a key pressed there.
    static void keyAt(int k, long p, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        app::curveWindow(k).Show();
        hover(plot(k), QPoint(columnOf(p), plot(k)->height() / 2));  // the middle: the value boxes sit in the corners
        QTest::keyClick(plot(k), key, modifiers);
    }
    // Key L (a label) or N (a note) over window k at position p, the text typed into the dialog it
    // opens, and OK.
    static void labelAt(int k, long p, const QString& text) {
        keyAt(k, p, Qt::Key_L);
        QTest::keyClicks(app::frmLaminaName->labelBox, text);
        app::frmLaminaName->okButton->click();
    }
    static void noteAt(int k, long p, const QString& text) {
        keyAt(k, p, Qt::Key_N);
        QTest::keyClicks(app::frmNote->noteBox, text);
        app::frmNote->okButton->click();
    }
    static int countPixels(const QImage& picture, QRgb colour) {
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            n += static_cast<int>(std::count(line, line + image.width(), colour));
        }
        return n;
    }
    // A point of a control measured in twips, in its widget's pixels.
    static QPoint pixels(double xTwips, double yTwips) {
        return QPoint(qRound(xTwips / ui::twipsPerPixel()), qRound(yTwips / ui::twipsPerPixel()));
    }

    // A press, one move and the release, as a quick drag with the left button.
    static void drag(QWidget* widget, QPoint from, QPoint to) {
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
    }
    // A right click on window k's plot: its pop-up opens at the press; closed before the release.
    static void rightClick(int k, QPoint pos) {
        QTest::mousePress(plot(k), Qt::RightButton, Qt::NoModifier, pos);
        EXPECT_EQ(app::curveWindow(k).lastPopup(), app::curveWindow(k).mnuRB);
        app::curveWindow(k).mnuRB->menu()->hide();
        QTest::mouseRelease(plot(k), Qt::RightButton, Qt::NoModifier, pos);
    }
    // A double click with the left button, its last release included: QTest's leaves the button
    // down, and every later move would then be a drag.
    static void doubleClick(QWidget* widget, QPoint pos) {
        QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
    }
    // The mouse moved over a widget as the window system reports it: through the widget's window,
    // wherever the window lies (windows beyond the small offscreen screen included).
    static void hover(QWidget* widget, QPoint pos) {
        QWidget* window = widget->window();
        if (!QTest::qWaitForWindowExposed(window)) ADD_FAILURE() << "window never shown";
        // A move to where the pointer already is reports nothing, so arrive from a pixel away.
        const QPoint target = widget->mapTo(window, pos);
        QTest::mouseMove(window->windowHandle(), target + QPoint(0, 1));
        QTest::mouseMove(window->windowHandle(), target);
    }

    QTemporaryDir dir;
    QString settingsPath;
    synth::VarvedCore core;
    testsupport::ScriptedDialogsScope dialogs;
};
