// The settings file as the program reads it at start: any bytes as the file, then the main window
// opened (which reads it) and a small core imported and drawn, so that every position, size and
// colour the file gives is used. A file that cannot be used is named in a message and left on
// disk as it was.
#include <cstdint>

#include "ProgramHarness.h"
#include "app/SharedState.h"
#include "files/TextFile.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace {
constexpr char kTarget[] = "Startup";
constexpr int kCoreWidth = 24;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::beginInput();
    const QString settings = fuzzing::filePath(QStringLiteral("Stratalyser_References.csv"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    files::saveFileBytes(settings, bytes);
    fuzzing::startProgram(settings);
    if (!app::ReferencesLoaded) {
        if (fuzzing::dialogs().shownOf(ui::ScriptedDialogs::Kind::Message).empty())
            fuzzing::fail(kTarget, "a settings file that was not used was not named");
        if (files::readFileBytes(settings) != bytes) fuzzing::fail(kTarget, "an unused settings file was changed");
    }
    fuzzing::openSmallCore(kCoreWidth, true);
    ui::repaintVisibleWindows();
    return 0;
}

// The fonts and the windows' first drawing are made before the first input (see ProgramImport).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    LLVMFuzzerTestOneInput(nullptr, 0);
    return 0;
}
