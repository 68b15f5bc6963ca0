#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "ui/Application.h"

namespace {

// Without a display Qt would abort; say what to do instead, in one line.
bool displayAvailable() {
#if defined(Q_OS_LINUX)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    // The arguments are checked before anything else: a wrong one ends here, without a window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    app::CommandLine commandLine = app::parseCommandLine(arguments);
    {
        const QCoreApplication bare(argc, argv);  // the usage names the manual, found from the program's folder
        if (const std::optional<int> code = app::answerBeforeWindows(commandLine, stdout, stderr)) return *code;
    }
    if (!displayAvailable()) {
        std::fprintf(
            stderr,
            "stratalyser: no display (DISPLAY is not set); run it on a desktop, or as: xvfb-run -a %s\n",
            argv[0]);
        return 2;
    }
    ui::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stratalyser"));
    QGuiApplication::setDesktopFileName(QStringLiteral("stratalyser"));  // its menu entry and icon
    QApplication::setQuitOnLastWindowClosed(false);

    app::frmMain->Show();
    // The demonstration core is written where the user's own program data live, not into a
    // temporary folder: a counting saved beside it must outlast the program.
    if (commandLine.demo) {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        commandLine = app::makeDemoCore((data.isEmpty() ? QDir::tempPath() : data) + QStringLiteral("/demo"));
    }
    app::openFromCommandLine(commandLine);
    // For measuring start-up: leave as soon as every window shown has been drawn (and ask nothing).
    // For the manual's pictures: the whole screen as the program first shows it, once the window
    // manager has drawn the captions, saved to the file named; then the program leaves.
    if (const QString shot = qEnvironmentVariable("STRATALYSER_GRAB_SCREEN"); !shot.isEmpty()) {
        constexpr int kCaptionsDrawnMs = 2000;
        QTimer::singleShot(kCaptionsDrawnMs, &application, [shot] {
            ui::repaintVisibleWindows();
            if (QScreen* screen = QGuiApplication::primaryScreen()) screen->grabWindow(0).save(shot);
            QApplication::quit();
        });
    } else if (qEnvironmentVariableIsSet("STRATALYSER_QUIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, &application, [] {
            ui::repaintVisibleWindows();
            QApplication::quit();
        });
    } else {
        app::OfferRecoveryAtStart();  // unsaved counting left by a crash or a power cut
    }
    const int code = QApplication::exec();
    app::unloadAllForms();
    return code;
}
