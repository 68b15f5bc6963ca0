// The core photo opened from the menu into a program with a small core open (its radiograph and
// XRF table): any bytes as the photo file. A refused file must leave the program as it was; an
// opened one is shown, its close-up opened and its colour profile drawn in all three models.
// Opening one photo after another is the user's own path, so the program is kept throughout.
#include <cstdint>

#include "ProgramHarness.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "files/TextFile.h"
#include "photo/windows/PhotoForms.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace {

constexpr char kTarget[] = "PhotoImport";
constexpr int kCoreWidth = 40;
int inputs = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::beginInput();
    if (!fuzzing::programIsFresh()) {
        fuzzing::startProgram();
        fuzzing::openSmallCore(kCoreWidth, true);
    }
    // Two names in turn, so that the photo's file name says whether this one opened.
    const QString photo = fuzzing::filePath(QStringLiteral("photo-%1").arg(++inputs % 2));
    files::saveFileBytes(photo, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QStringList before = fuzzing::programState();
    fuzzing::dialogs().answerOpen(photo);
    app::frmMain->mnuOpenPhoto->trigger();
    if (app::PhotoFileName != photo) {
        if (fuzzing::programState() != before) fuzzing::fail(kTarget, "a refused file changed the program");
        return 0;
    }
    if (!app::PhotoOpen) fuzzing::fail(kTarget, "an opened photo is not shown");
    app::frmPhoto->mnuCrop->trigger();
    if (app::CropOpen) {
        app::CropForm& closeUp = app::frmCrop.get();
        for (ui::MenuItem* model : {closeUp.mnuLAB, closeUp.mnuRGB, closeUp.mnuGrey}) model->trigger();
    }
    ui::repaintVisibleWindows();
    return 0;
}

// The fonts and the windows' first drawing are made before the first input (see ProgramImport).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    const QByteArray png = fuzzing::smallRadiograph(2 * kCoreWidth, "PNG");
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(png.constData()), static_cast<std::size_t>(png.size()));
    if (!app::CropOpen) fuzzing::fail(kTarget, "the warm-up photo's close-up did not open");
    return 0;
}
