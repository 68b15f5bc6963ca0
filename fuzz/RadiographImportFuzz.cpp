// The radiograph import as the button runs it, with the program's size limits: any bytes as the
// picture file (its kind is read from its content: bitmap, JPEG, PNG, TIFF of 8 or 16 bits). A
// refused file must leave the program as it started; an imported one gives the grey profile of
// its band and every window is drawn.
#include <cstdint>

#include "ProgramHarness.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "curves/windows/Curves.h"
#include "files/TextFile.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace {
constexpr char kTarget[] = "RadiographImport";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::beginInput();
    if (!fuzzing::programIsFresh()) fuzzing::startProgram();
    const QString picture = fuzzing::filePath(QStringLiteral("radiograph"));
    files::saveFileBytes(picture, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QStringList before = fuzzing::programState();
    fuzzing::dialogs().answerOpen(picture);
    app::frmMain->importRadiographButton->click();
    if (!app::RadiographImported) {
        if (fuzzing::programState() != before) fuzzing::fail(kTarget, "a refused file changed the program");
        return 0;
    }
    fuzzing::programChanged();
    if (app::DataLength < 1) fuzzing::fail(kTarget, "an imported radiograph has no columns");
    app::RedrawCurves();  // the grey profile of the band, drawn in window 1
    ui::repaintVisibleWindows();
    return 0;
}

// The fonts and the windows' first drawing are made before the first input (see ProgramImport).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    const QByteArray bitmap = fuzzing::smallRadiograph(40, "BMP");
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bitmap.constData()), static_cast<std::size_t>(bitmap.size()));
    if (!app::RadiographImported) fuzzing::fail(kTarget, "the warm-up radiograph did not import");
    return 0;
}
