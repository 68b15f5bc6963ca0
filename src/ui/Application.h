#pragma once

#include <QApplication>

namespace ui {

// The program's application object. An error that escapes an event handler is reported in a
// message box and the program goes on with its data intact, instead of ending and losing the
// unsaved work of a session.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Draws every window that is shown, at once (for measuring how soon the program is ready).
void repaintVisibleWindows();

}  // namespace ui
