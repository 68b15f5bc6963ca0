#include "ProgramHarness.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "SynthCore.h"
#include "app/SharedState.h"
#include "app/windows/FormRegistry.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "files/TextFile.h"
#include "ui/ScriptedDialogs.h"

namespace fuzzing {

namespace {

int argumentCount = 1;
char programName[] = "stratalyser-fuzz";
char* arguments[] = {programName, nullptr};

struct Harness;
Harness* running = nullptr;

struct Harness {
    Harness() : application((qputenv("QT_QPA_PLATFORM", "offscreen"), argumentCount), arguments) {
        newDialogs();
        // libFuzzer ends with exit(), past every destructor of ours: the files go then.
        std::atexit([] {
            if (running) running->folder.remove();
        });
    }
    // Answers and records of one input only.
    void newDialogs() {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        scriptedDialogs = scripted.get();
        ui::installDialogs(std::move(scripted));
    }
    QApplication application;
    QTemporaryDir folder;
    ui::ScriptedDialogs* scriptedDialogs = nullptr;
    bool fresh = false;
};

Harness& harness() {
    if (!running) running = new Harness;
    return *running;
}

}  // namespace

ui::ScriptedDialogs& dialogs() {
    return *harness().scriptedDialogs;
}

QString filePath(const QString& name) {
    return harness().folder.filePath(name);
}

void closeProgram() {
    app::unloadAllForms();
    app::resetSharedState();
    app::resetProgramEnded();
    harness().fresh = false;
}

bool anyWindow() {
    harness();
    return !QApplication::topLevelWidgets().isEmpty();
}

void startProgram(const QString& settings) {
    Harness& h = harness();
    closeProgram();
    app::setSettingsFilePath(settings.isEmpty() ? h.folder.filePath(QStringLiteral("no-settings.csv"))
                                                : settings);
    app::setRecoveryFolder(h.folder.filePath(QStringLiteral("recovery")));  // never the user's own
    app::frmMain->Show();
    h.fresh = true;
}

void beginInput() {
    harness().newDialogs();
}

void programChanged() {
    harness().fresh = false;
}

bool programIsFresh() {
    return harness().fresh;
}

QByteArray smallRadiograph(int width, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    synth::makeVarvedCore(width, 8).radiograph.save(&buffer, format);
    return bytes;
}

void openSmallCore(int width, bool withXrf) {
    const QString picture = filePath(QStringLiteral("core.bmp"));
    files::saveFileBytes(picture, smallRadiograph(width, "BMP"));
    dialogs().answerOpen(picture);
    app::frmMain->importRadiographButton->click();
    if (!app::RadiographImported) fail("harness", "the radiograph did not open");
    if (!withXrf) return;
    const QString table = filePath(QStringLiteral("Results.txt"));
    files::saveFileBytes(table, synth::makeXrfTable(synth::makeVarvedCore(width, 8), true));
    dialogs().answerOpen(table);
    app::frmMain->importXrfButton->click();
    if (!app::XrfLoaded) fail("harness", "the XRF table did not open");
}

QStringList programState() {
    app::MainForm& main = app::frmMain.get();
    QStringList s;
    for (const bool b : {app::RadiographImported, app::XrfLoaded, app::PhotoOpen, main.importRadiographButton->isEnabled(),
                         main.importXrfButton->isEnabled(), main.saveAsButton->isEnabled(), main.mnuSummary->Enabled(),
                         main.mnuOpenPhoto->Enabled()})
        s << QString::number(b);
    s << QString::number(app::XrfColumnCount) << QString::number(app::DataLength) << app::WorkingFileName
      << app::PhotoFileName << main.saveAsButton->Caption();
    if (app::RadiographImported) s << QString::number(app::curveWindow(2).elementList->ListCount());
    return s;
}

void fail(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    for (const ui::ScriptedDialogs::Shown& shown : dialogs().shown())
        std::fprintf(stderr, "  shown: %s %s\n", qPrintable(shown.title), qPrintable(shown.text));
    std::abort();
}

}  // namespace fuzzing

// The windows go before the application object.
extern "C" void StratalyserFuzzTearDown() {
    if (!fuzzing::running) return;
    app::unloadAllForms();
    delete fuzzing::running;
    fuzzing::running = nullptr;
}
