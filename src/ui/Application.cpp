#include "ui/Application.h"

#include <QWidget>

#include <exception>

#include "ui/Cursor.h"
#include "ui/Dialogs.h"

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        setBusyPointer(false);
        dialogs().messageBox(
            QStringLiteral("Stratalyser met an unexpected error and did not finish the last command (") +
                QString::fromLocal8Bit(e.what()) +
                QStringLiteral("). Your data are kept; please save your work."),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Stratalyser"));
    }
    return false;
}

void repaintVisibleWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) w->repaint();
    }
}

}  // namespace ui
