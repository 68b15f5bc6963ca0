#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/Colour.h"

namespace ui {

struct FileDialogRequest {
    QString title;
    QString filter;       // "Desc|*.ext|Desc|*.ext"
    QString initialName;  // file name or full path shown at first
    bool confirmOverwrite = true;
};

enum class MessageIcon { None, Exclamation, Information, Question, Critical };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

// Every modal window the program shows goes through this interface: file open and save, colour
// selection, message boxes, a line of text, the beep and a document handed to the desktop's viewer.
// The program uses the Qt implementation; tests install ScriptedDialogs, so that no test ever waits
// on a modal window.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The chosen path. A cancelled dialog throws core::CancelledError: the file commands treat
    // it like any other error.
    QString openFile(const FileDialogRequest& request);
    QString saveFile(const FileDialogRequest& request);
    // The chosen colour, or nothing when the dialog was cancelled.
    virtual std::optional<core::Colour> chooseColour(core::Colour initial) = 0;
    virtual MessageResult messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& title) = 0;
    virtual void beep() = 0;
    // A line of text typed by the user (`initial` shown at first), or nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) = 0;
    // A document shown: a Markdown one (the manual) in the program's own window with its pictures,
    // another by the desktop's viewer for its kind; false when it cannot be shown.
    virtual bool openDocument(const QString& path) = 0;

  protected:
    virtual std::optional<QString> askOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> askSaveFile(const FileDialogRequest& request) = 0;
};

// The folder a file dialog starts in when its request names no folder: the folder of a file opened
// from the file manager (dropped, or given on the command line). Empty: the dialogs' own choice.
void setStartFolder(const QString& folder);

// The dialogs in use (Qt's own until something else is installed).
Dialogs& dialogs();
// Installs new dialogs and returns the previous ones.
std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> dialogs);

// "Desc|*.ext|Desc2|*.a;*.b" -> "Desc (*.ext);;Desc2 (*.a *.b)". A description that already ends
// in its pattern in parentheses is kept as it is.
QString qtFilter(const QString& barFilter);

}  // namespace ui
