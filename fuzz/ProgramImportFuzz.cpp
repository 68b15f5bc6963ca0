// The XRF or working-file import as the button runs it, into a program with a small radiograph
// open: the first two bytes give the radiograph's width (1..64 columns, and the answer to the
// question whether a table of another length is placed onto the columns), the rest is the file.
// A refused file must leave the program exactly as it was (and the next input uses it again); an
// imported one is drawn in the six windows, marked with a key, saved, and must open again from
// what was saved.
#include <cstdint>

#include "ProgramHarness.h"
#include "SynthCore.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "curves/windows/Curves.h"
#include "files/TextFile.h"
#include "ui/KeyCodes.h"
#include "ui/ScriptedDialogs.h"

namespace {

constexpr int kMostColumns = 64;
constexpr std::uint8_t kAnswerYes =
    0x80;  // in the second byte: "Match XRF to the radiograph?" is answered Yes
constexpr char kTarget[] = "ProgramImport";
int openWidth = 0;  // the radiograph's width in the program kept between inputs

// The program as kept when it is fresh and of this width, otherwise made anew (always: `anew`).
void programWithRadiograph(int width, bool anew = false) {
    if (!anew && fuzzing::programIsFresh() && openWidth == width) return;
    fuzzing::startProgram();
    fuzzing::openSmallCore(width, false);
    openWidth = width;
}

bool importTable(const QString& path, bool matchToRadiograph = false) {
    fuzzing::dialogs().answerOpen(path);
    // A table of another length may be offered to be placed onto the radiograph's columns.
    if (matchToRadiograph) fuzzing::dialogs().answerMessage(ui::MessageResult::Yes);
    app::frmMain->importXrfButton->click();
    fuzzing::dialogs().dropAnswers();  // the question is not asked of a table as long as the radiograph
    return app::XrfLoaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    fuzzing::beginInput();
    const int width = 1 + (data[0] | data[1] << 8) % kMostColumns;
    programWithRadiograph(width);
    const QString table = fuzzing::filePath(QStringLiteral("table.csv"));
    files::saveFileBytes(
        table, QByteArray(reinterpret_cast<const char*>(data) + 2, static_cast<qsizetype>(size - 2)));
    const QStringList before = fuzzing::programState();
    if (!importTable(table, (data[1] & kAnswerYes) != 0)) {
        if (fuzzing::programState() != before) fuzzing::fail(kTarget, "a refused file changed the program");
        return 0;
    }
    app::RedrawCurves();
    app::PointerX = width / 2;
    app::SetMarker(ui::kKey1);
    const QString saved = fuzzing::filePath(QStringLiteral("saved.csv"));
    fuzzing::dialogs().answerSave(saved);
    app::frmMain->mnuSaveAs->trigger();
    programWithRadiograph(width, true);
    if (!importTable(saved)) fuzzing::fail(kTarget, "the saved working file did not open again");
    fuzzing::programChanged();
    return 0;
}

// Fonts and the windows' first drawing keep state of their own for the whole run: made once
// before the first input (a table that imports), so that libFuzzer's leak check of an input sees
// only what it left.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    constexpr int kWidth = 12;
    const QByteArray input = QByteArray(1, char(kWidth - 1)) + QByteArray(1, 0) +
                             synth::makeXrfTable(synth::makeVarvedCore(kWidth, 8), true);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                           static_cast<std::size_t>(input.size()));
    if (!app::XrfLoaded) fuzzing::fail(kTarget, "the warm-up table did not import");
    return 0;
}
