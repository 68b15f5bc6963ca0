#pragma once

#include <deque>
#include <functional>
#include <variant>
#include <vector>

#include "ui/Dialogs.h"

namespace ui {

// Dialogs for tests: answers are queued in advance, and everything shown is recorded. A dialog
// with no queued answer of its kind never waits: it is recorded as unexpected and answered with
// Cancel (file and colour dialogs, Yes/No/Cancel boxes), OK or No (message boxes).
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { OpenFile, SaveFile, Colour, Message, Beep, Input, Document };

    struct Shown {
        Kind kind = Kind::Message;
        QString title;
        QString text;  // message text
        QString filter;
        QString initialName;
        MessageButtons buttons = MessageButtons::Ok;
        MessageIcon icon = MessageIcon::None;
        bool expected = true;
    };

    ScriptedDialogs& answerOpen(const QString& path);
    ScriptedDialogs& answerSave(const QString& path);
    ScriptedDialogs& cancelFile();  // the next open or save dialog is cancelled
    ScriptedDialogs& answerColour(core::Colour c);
    ScriptedDialogs& cancelColour();
    ScriptedDialogs& answerMessage(MessageResult r);
    ScriptedDialogs& answerInput(const QString& text);

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<Shown> shownOf(Kind kind) const;
    int unexpected() const;
    int pendingAnswers() const { return static_cast<int>(answers_.size()); }
    void clearRecord() { shown_.clear(); }
    // Answers no dialog took (a question that was not asked after all) are dropped.
    void dropAnswers() { answers_.clear(); }

    std::optional<core::Colour> chooseColour(core::Colour initial) override;
    MessageResult messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& title) override;
    void beep() override;
    bool openDocument(const QString& path) override;  // recorded with the path as its text
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) override;

  protected:
    std::optional<QString> askOpenFile(const FileDialogRequest& request) override;
    std::optional<QString> askSaveFile(const FileDialogRequest& request) override;

  private:
    struct FileAnswer {
        QString path;
        bool cancel = false;
        bool anyKind = true;  // a cancel answers an open or a save dialog
        Kind kind = Kind::OpenFile;
    };
    struct ColourAnswer {
        core::Colour colour = 0;
        bool cancel = false;
    };
    struct TextAnswer {
        QString text;
    };
    using Answer = std::variant<FileAnswer, ColourAnswer, MessageResult, TextAnswer>;

    template <typename T>
    bool take(T& answer, const std::function<bool(const T&)>& fits);
    std::optional<QString> askFile(Kind kind, const FileDialogRequest& request);

    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
};

}  // namespace ui
