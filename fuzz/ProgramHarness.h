// The whole program for the fuzz targets that go through the user's commands: one application on
// the offscreen platform with scripted dialogs and the default settings, kept from input to input
// while nothing has changed it. An input that was refused leaves the program as it was (each target
// checks this), so the next input uses the same windows; one that changed it asks for a fresh
// program, made anew (every window) before the next input.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ui {
class ScriptedDialogs;
}

namespace fuzzing {

ui::ScriptedDialogs& dialogs();
// The input's own folder; files written there last until the process ends.
QString filePath(const QString& name);

// The program as it starts: the main window shown, no file open. `settings` is the settings file's
// path (none: the defaults).
void startProgram(const QString& settings = QString());
// Before each input: dialogs with no answers and nothing shown yet.
void beginInput();
// Every window closed, as before the program starts.
void closeProgram();
// Any window at all (shown or not).
bool anyWindow();
// After an input that changed the program: the next one starts afresh.
void programChanged();
bool programIsFresh();

// A synthetic core's radiograph of `width` columns as the bytes of a file of `format` ("BMP", "PNG"..).
QByteArray smallRadiograph(int width, const char* format);

// Imports a radiograph of `width` columns made in memory through the button; the XRF table of the
// same core too when `withXrf`. Aborts when either is refused: the harness's own files always open.
void openSmallCore(int width, bool withXrf);

// What a refused file must leave as it was: the document's tables and flags, the file names, the
// commands offered and the curve windows' choices.
QStringList programState();

[[noreturn]] void fail(const char* target, const char* what);

}  // namespace fuzzing
