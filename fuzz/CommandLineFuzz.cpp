// The command line as the program reads it at start: the bytes are the arguments, separated by
// NUL bytes, run in a folder holding a small core's files (r.bmp, x.txt, p.png, w.csv). A wrong
// list must be answered before any window exists; a right one opens what it names through the
// program's own imports, and every window is drawn.
#include <QDir>
#include <QStringList>
#include <cstdint>
#include <cstdio>

#include "ProgramHarness.h"
#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "files/TextFile.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace {

constexpr char kTarget[] = "CommandLine";
constexpr int kCoreWidth = 24;
std::FILE* nowhere = nullptr;  // the usage and the errors are printed, but not read here

QStringList argumentsOf(const std::uint8_t* data, std::size_t size) {
    QStringList arguments;
    for (const QByteArray& part : QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0'))
        arguments << QString::fromLocal8Bit(part);
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::beginInput();
    if (fuzzing::anyWindow()) fuzzing::closeProgram();
    const app::CommandLine commandLine = app::parseCommandLine(argumentsOf(data, size));
    if (app::answerBeforeWindows(commandLine, nowhere, nowhere)) {
        if (fuzzing::anyWindow()) fuzzing::fail(kTarget, "a wrong command line opened a window");
        return 0;
    }
    fuzzing::startProgram();
    fuzzing::programChanged();
    app::openFromCommandLine(commandLine.demo ? app::makeDemoCore(fuzzing::filePath(QStringLiteral("demo")))
                                              : commandLine);
    ui::repaintVisibleWindows();
    return 0;
}

// The core's files, written once into the folder the arguments name them in; the working file is
// the table imported and saved by the program itself.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc, (void)argv;
    nowhere = std::fopen("/dev/null", "w");
    fuzzing::startProgram();
    fuzzing::openSmallCore(kCoreWidth, true);
    QDir::setCurrent(fuzzing::filePath(QString()));
    QDir().rename(fuzzing::filePath(QStringLiteral("core.bmp")), QStringLiteral("r.bmp"));
    QDir().rename(fuzzing::filePath(QStringLiteral("Results.txt")), QStringLiteral("x.txt"));
    files::saveFileBytes(QStringLiteral("p.png"), fuzzing::smallRadiograph(2 * kCoreWidth, "PNG"));
    fuzzing::dialogs().answerSave(QDir::current().filePath(QStringLiteral("w.csv")));
    app::frmMain->mnuSaveAs->trigger();
    if (!QDir::current().exists(QStringLiteral("w.csv"))) fuzzing::fail(kTarget, "the working file was not saved");
    static const char kAll[] = "--radiograph\0r.bmp\0--photo\0p.png\0w.csv";
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(kAll), sizeof kAll - 1);
    if (!app::PhotoOpen) fuzzing::fail(kTarget, "the warm-up command line did not open its photo");
    return 0;
}
