#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "app/SharedState.h"
#include "app/windows/AboutForms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/LabelDialogs.h"
#include "files/FieldSyntax.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "scales/windows/ScaleForms.h"
#include "ui/Screen.h"

// A fresh program for every test: its own settings file in a temporary folder, a fixed screen,
// scripted dialogs, and everything torn down afterwards.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::screen::overrideSizePixels(1280, 1024);
        QDir(dir.path()).mkpath(QStringLiteral("References"));
        settingsPath = dir.filePath(QStringLiteral("References/Stratalyser_References.csv"));
        app::setSettingsFilePath(settingsPath);
    }
    void TearDown() override {
        app::unloadAllForms();
        app::resetSharedState();
        ui::setTwipsPerPixel(ui::kLowTwipsPerPixel);
        app::resetProgramEnded();
        app::setSettingsFilePath(QString());
        ui::screen::overrideSizePixels(0, 0);
    }

    // The settings file shipped with the program, optionally changed before the start.
    void installDefaultSettings() {
        QFile::copy(testsupport::sourceFile("References/Stratalyser_References.csv"), settingsPath);
    }
    core::Array2<core::Variant> shippedSettings() {
        core::Array2<core::Variant> table(0, 3, 0, 100);
        files::readSettings(
            files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv")), table);
        return table;
    }
    void writeSettings(const core::Array2<core::Variant>& table) {
        files::saveFileBytes(settingsPath, files::writeSettings(table));
    }
    core::Array2<core::Variant> savedSettings() {
        core::Array2<core::Variant> table(0, 3, 0, 100);
        files::readSettings(files::readFileBytes(settingsPath), table);
        return table;
    }
    // Starts the program: the main window loads (reading the settings) and is shown.
    app::MainForm& start() {
        app::MainForm& main = app::frmMain.get();
        main.Show();
        return main;
    }

    // A small document as an import would leave it: 3 positions, XRF rows of 10 fields.
    void loadTinyDocument() {
        using core::Variant;
        app::DataLength = 3;
        app::XrfColumnCount = 10;
        app::XrfHeaders(0) = "C:\\scan\\XRF data";
        const char* names[] = {"position (mm)", "sample surface", "validity", "E-gain", "E-offset",
                               "F-slope",       "F-offset",       "kcps",     "Fe"};
        for (int h = 1; h <= 9; ++h) app::XrfHeaders(h) = names[h - 1];
        app::Profile.redim(0, 2, 0, 3);
        app::YearMark.redim(0, 3, Variant("---"));
        app::MarkerLabel.redim(0, 3, "---");
        app::MarkerNote.redim(0, 3, "---");
        app::YearMark(0) = Variant("Year");
        app::MarkerLabel(0) = "Lamina";
        app::MarkerNote(0) = "Note";
        for (int i = 1; i <= 3; ++i) {
            app::XrfData(1, i) = Variant(QStringLiteral("L%1.spe").arg(i));
            app::XrfData(2, i) = Variant(0.2 * i);
            for (int j = 3; j <= 10; ++j) app::XrfData(j, i) = Variant(core::Integer(j * 10 + i));
            app::Profile(0, i) = Variant(core::Integer(100 + i));
        }
        app::XrfLoaded = true;
    }

    // The mouse moved over a widget as the window system reports it: through the widget's window,
    // wherever the window lies (windows beyond the small offscreen screen included).
    // The real YAN8A1 core: its radiograph and its scanner table imported through the buttons.
    void importRealCore() {
        installDefaultSettings();
        start();
        dialogs->answerOpen(testsupport::realData("radiograph.bmp"));
        app::frmMain->Command1->click();
        dialogs->answerOpen(testsupport::realData("Results.txt"));
        app::frmMain->Command2->click();
        ASSERT_TRUE(app::XrfLoaded);
    }

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
    testsupport::ScriptedDialogsScope dialogs;
};
