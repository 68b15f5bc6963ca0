#include "ui/ScriptedDialogs.h"

#include <algorithm>
#include <functional>

namespace ui {

ScriptedDialogs& ScriptedDialogs::answerOpen(const QString& path) {
    answers_.push_back(FileAnswer{path, false, false, Kind::OpenFile});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerSave(const QString& path) {
    answers_.push_back(FileAnswer{path, false, false, Kind::SaveFile});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelFile() {
    answers_.push_back(FileAnswer{QString(), true, true, Kind::OpenFile});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerColour(core::Colour c) {
    answers_.push_back(ColourAnswer{c, false});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelColour() {
    answers_.push_back(ColourAnswer{0, true});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerMessage(MessageResult r) {
    answers_.push_back(r);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerInput(const QString& text) {
    answers_.push_back(TextAnswer{text});
    return *this;
}

std::vector<ScriptedDialogs::Shown> ScriptedDialogs::shownOf(Kind kind) const {
    std::vector<Shown> result;
    std::copy_if(shown_.begin(), shown_.end(), std::back_inserter(result),
                 [kind](const Shown& s) { return s.kind == kind; });
    return result;
}

int ScriptedDialogs::unexpected() const {
    return static_cast<int>(
        std::count_if(shown_.begin(), shown_.end(), [](const Shown& s) { return !s.expected; }));
}

// The next queued answer, if it is of the kind asked for; answers are used strictly in order.
template <typename T>
bool ScriptedDialogs::take(T& answer, const std::function<bool(const T&)>& fits) {
    if (answers_.empty()) return false;
    const T* next = std::get_if<T>(&answers_.front());
    if (next == nullptr || !fits(*next)) return false;
    answer = *next;
    answers_.pop_front();
    return true;
}

std::optional<QString> ScriptedDialogs::askFile(Kind kind, const FileDialogRequest& request) {
    Shown shown;
    shown.kind = kind;
    shown.title = request.title;
    shown.filter = request.filter;
    shown.initialName = request.initialName;
    FileAnswer answer;
    shown.expected =
        take<FileAnswer>(answer, [kind](const FileAnswer& a) { return a.anyKind || a.kind == kind; });
    shown_.push_back(shown);
    if (!shown.expected || answer.cancel) return std::nullopt;
    return answer.path;
}

std::optional<QString> ScriptedDialogs::askOpenFile(const FileDialogRequest& request) {
    return askFile(Kind::OpenFile, request);
}

std::optional<QString> ScriptedDialogs::askSaveFile(const FileDialogRequest& request) {
    return askFile(Kind::SaveFile, request);
}

std::optional<core::Colour> ScriptedDialogs::chooseColour(core::Colour initial) {
    (void)initial;
    Shown shown;
    shown.kind = Kind::Colour;
    ColourAnswer answer;
    shown.expected = take<ColourAnswer>(answer, [](const ColourAnswer&) { return true; });
    shown_.push_back(shown);
    if (!shown.expected || answer.cancel) return std::nullopt;
    return answer.colour;
}

MessageResult ScriptedDialogs::messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                          const QString& title) {
    Shown shown;
    shown.kind = Kind::Message;
    shown.title = title;
    shown.text = text;
    shown.buttons = buttons;
    shown.icon = icon;
    MessageResult answer = MessageResult::Ok;
    const bool answered = take<MessageResult>(answer, [buttons](const MessageResult& r) {
        switch (buttons) {
            case MessageButtons::Ok:
                return r == MessageResult::Ok;
            case MessageButtons::YesNo:
                return r == MessageResult::Yes || r == MessageResult::No;
            case MessageButtons::YesNoCancel:
                return r != MessageResult::Ok;
        }
        return false;
    });
    // An OK box needs no queued answer: there is only one thing the user can do.
    shown.expected = answered || buttons == MessageButtons::Ok;
    shown_.push_back(shown);
    if (answered) return answer;
    switch (buttons) {
        case MessageButtons::YesNo:
            return MessageResult::No;
        case MessageButtons::YesNoCancel:
            return MessageResult::Cancel;  // never lose work by default
        case MessageButtons::Ok:
            break;
    }
    return MessageResult::Ok;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title, const QString& initial) {
    Shown shown;
    shown.kind = Kind::Input;
    shown.title = title;
    shown.text = prompt;
    shown.initialName = initial;
    TextAnswer answer;
    shown.expected = take<TextAnswer>(answer, [](const TextAnswer&) { return true; });
    shown_.push_back(shown);
    if (!shown.expected) return std::nullopt;
    return answer.text;
}

void ScriptedDialogs::beep() {
    Shown shown;
    shown.kind = Kind::Beep;
    shown_.push_back(shown);
}

bool ScriptedDialogs::openDocument(const QString& path) {
    Shown shown;
    shown.kind = Kind::Document;
    shown.text = path;
    shown_.push_back(shown);
    return true;
}

}  // namespace ui
