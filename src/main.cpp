#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include "ui/Application.h"

#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"

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
    if (!displayAvailable()) {
        std::fprintf(
            stderr,
            "stratalyser: no display (DISPLAY is not set); run it on a desktop, or as: xvfb-run -a %s\n",
            argv[0]);
        return 2;
    }
    ui::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stratalyser"));
    QApplication::setQuitOnLastWindowClosed(false);

    app::frmMain->Show();
    // For measuring start-up: leave as soon as the main window has been shown.
    if (qEnvironmentVariableIsSet("STRATALYSER_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &application, &QApplication::quit);
    const int code = QApplication::exec();
    app::unloadAllForms();
    return code;
}
