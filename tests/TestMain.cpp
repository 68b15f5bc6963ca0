#include <gtest/gtest.h>
#include <QApplication>

namespace {
// The offscreen platform says what it cannot do (raise a window, grab the keyboard); that is
// expected in headless tests and only hides real messages.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    static const char* kExpected[] = {"does not support raise", "does not support grabbing",
                                      "XDG_RUNTIME_DIR"};
    for (const char* note : kExpected) {
        if (message.contains(QLatin1String(note))) return;
    }
    qt_message_output(type, context, message);
}
}  // namespace

// Every test executable runs inside one QApplication on the offscreen platform.
int main(int argc, char** argv) {
    qInstallMessageHandler(quietOffscreenNotes);
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
