// The XRF or working-file import as the button runs it, into a program with a small radiograph
// open: the first two bytes give the radiograph's width (1..64 columns), the rest is the file.
// A refused file must leave the program exactly as it was; an imported one is drawn in the six
// windows, marked with a key, saved, and must open again from what was saved.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "app/SharedState.h"
#include "app/windows/FormRegistry.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "files/TextFile.h"
#include "ui/KeyCodes.h"
#include "ui/ScriptedDialogs.h"

namespace {

constexpr int kMostColumns = 64;

int argumentCount = 1;
char programName[] = "fuzz-ProgramImport";
char* arguments[] = {programName, nullptr};

// One program for every input, on the offscreen platform, with scripted dialogs and no settings
// file (the defaults).
struct Program {
    Program() : application((qputenv("QT_QPA_PLATFORM", "offscreen"), argumentCount), arguments) {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        dialogs = scripted.get();
        ui::installDialogs(std::move(scripted));
        app::setSettingsFilePath(folder.filePath(QStringLiteral("no-settings.csv")));
    }
    QApplication application;
    QTemporaryDir folder;
    ui::ScriptedDialogs* dialogs = nullptr;
};

Program* running = nullptr;

Program& program() {
    if (!running) running = new Program;
    return *running;
}

// What a refused file must leave as it was: the tables, the file name and the commands offered.
QStringList state() {
    app::MainForm& main = app::frmMain.get();
    QStringList s;
    for (const bool b : {app::XrfLoaded, main.Command2->isEnabled(), main.Command5->isEnabled(),
                         main.mnuSummary->Enabled(), main.mnuOpenPhoto->Enabled()})
        s << QString::number(b);
    s << QString::number(app::XrfColumnCount) << QString::number(app::DataLength) << app::WorkingFileName
      << main.Command5->Caption() << QString::number(app::curveWindow(2).Combo1->ListCount());
    return s;
}

void freshProgram() {
    app::unloadAllForms();
    app::resetSharedState();
    app::resetProgramEnded();
}

// The program with a radiograph of `width` columns open; false when it did not open.
bool openRadiograph(Program& p, int width) {
    freshProgram();
    QImage picture(width, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < width; ++x) picture.scanLine(y)[x] = static_cast<uchar>(x * 37 + y * 11);
    const QString path = p.folder.filePath(QStringLiteral("core.bmp"));
    picture.save(path, "BMP");
    app::frmMain->Show();
    app::frmMain->openRadiograph(path);
    return app::RadiographImported;
}

void fail(const char* what) {
    std::fprintf(stderr, "ProgramImport: %s\n", what);
    std::abort();
}

}  // namespace

// The windows go before the application object.
extern "C" void StratalyserFuzzTearDown() {
    if (!running) return;
    app::unloadAllForms();
    delete running;
    running = nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    Program& p = program();
    const int width = 1 + (data[0] | data[1] << 8) % kMostColumns;
    if (!openRadiograph(p, width)) fail("the radiograph did not open");
    const QString table = p.folder.filePath(QStringLiteral("table.csv"));
    files::saveFileBytes(table, QByteArray(reinterpret_cast<const char*>(data) + 2, static_cast<qsizetype>(size - 2)));
    const QStringList before = state();
    p.dialogs->answerOpen(table);
    app::frmMain->Command2->click();
    if (!app::XrfLoaded) {
        if (state() != before) fail("a refused file changed the program");
        return 0;
    }
    app::RedrawCurves();
    app::PointerX = width / 2;
    app::SetMarker(ui::kKey1);
    const QString saved = p.folder.filePath(QStringLiteral("saved.csv"));
    p.dialogs->answerSave(saved);
    app::frmMain->mnuSaveAs->trigger();
    if (!openRadiograph(p, width)) fail("the radiograph did not open again");
    p.dialogs->answerOpen(saved);
    app::frmMain->Command2->click();
    if (!app::XrfLoaded) fail("the saved working file did not open again");
    return 0;
}

// Fonts and the windows' first drawing keep state of their own for the whole run: made once
// before the first input, so that libFuzzer's leak check of an input sees only what it left.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    static const char kThreeRows[] =
        "\x02\x00\"filename\",\"position (mm)\",\"Fe\"\r\n\"L1.spe\",0.2,1\r\n\"L2.spe\",0.4,2\r\n\"L3.spe\",0.6,3\r\n";
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(kThreeRows), sizeof kThreeRows - 1);
    return 0;
}
