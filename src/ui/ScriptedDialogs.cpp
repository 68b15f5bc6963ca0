#include "ui/ScriptedDialogs.h"

#include <algorithm>
#include <functional>

namespace ui {

ScriptedDialogs& ScriptedDialogs::answerOpen(const QString& path) {
    answers_.push_back(FileAnswer{path, Kind::OpenFile});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerSave(const QString& path) {
    answers_.push_back(FileAnswer{path, Kind::SaveFile});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelFile() {
    answers_.push_back(FileAnswer{std::nullopt, std::nullopt});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerColour(core::Colour c) {
    answers_.push_back(ColourAnswer{c});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelColour() {
    answers_.push_back(ColourAnswer{std::nullopt});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::answerMessage(MessageResult r) {
    answers_.push_back(r);
    return *this;
}

std::vector<ScriptedDialogs::Shown> ScriptedDialogs::shownOf(Kind kind) const {
    std::vector<Shown> result;
    std::copy_if(shown_.begin(), shown_.end(), std::back_inserter(result),
                 [kind](const Shown& s) { return s.kind == kind; });
    return result;
}

int ScriptedDialogs::unexpected() const {
    return static_cast<int>(std::count_if(shown_.begin(), shown_.end(), [](const Shown& s) { return !s.expected; }));
}

// The next queued answer, if it is of the kind asked for; answers are used strictly in order.
template <typename T>
std::optional<T> ScriptedDialogs::take(const std::function<bool(const T&)>& fits) {
    if (answers_.empty()) return std::nullopt;
    const T* answer = std::get_if<T>(&answers_.front());
    if (answer == nullptr || !fits(*answer)) return std::nullopt;
    T result = *answer;
    answers_.pop_front();
    return result;
}

std::optional<QString> ScriptedDialogs::askFile(Kind kind, const FileDialogRequest& request) {
    Shown shown;
    shown.kind = kind;
    shown.title = request.title;
    shown.filter = request.filter;
    shown.initialName = request.initialName;
    const auto answer =
        take<FileAnswer>([kind](const FileAnswer& a) { return !a.kind.has_value() || *a.kind == kind; });
    shown.expected = answer.has_value();
    shown_.push_back(shown);
    return answer ? answer->path : std::nullopt;
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
    const auto answer = take<ColourAnswer>([](const ColourAnswer&) { return true; });
    shown.expected = answer.has_value();
    shown_.push_back(shown);
    return answer ? answer->colour : std::nullopt;
}

MessageResult ScriptedDialogs::messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                          const QString& title) {
    Shown shown;
    shown.kind = Kind::Message;
    shown.title = title;
    shown.text = text;
    shown.buttons = buttons;
    shown.icon = icon;
    auto answer = take<MessageResult>([buttons](const MessageResult& r) {
        return buttons == MessageButtons::YesNo ? r != MessageResult::Ok : r == MessageResult::Ok;
    });
    // An OK box needs no queued answer: there is only one thing the user can do.
    shown.expected = answer.has_value() || buttons == MessageButtons::Ok;
    shown_.push_back(shown);
    if (answer) return *answer;
    return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

void ScriptedDialogs::beep() {
    Shown shown;
    shown.kind = Kind::Beep;
    shown_.push_back(shown);
}

}  // namespace ui
