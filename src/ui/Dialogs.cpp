#include "ui/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "core/Errors.h"
#include "ui/QtColour.h"

namespace ui {

QString Dialogs::openFile(const FileDialogRequest& request) {
    std::optional<QString> path = askOpenFile(request);
    if (!path || path->isEmpty()) throw core::CancelledError();
    return *path;
}

QString Dialogs::saveFile(const FileDialogRequest& request) {
    std::optional<QString> path = askSaveFile(request);
    if (!path || path->isEmpty()) throw core::CancelledError();
    return *path;
}

QString qtFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
        if (description.endsWith(suffix)) {
            filters << description;
        } else {
            filters << description + QStringLiteral(" ") + suffix;
        }
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtDialogs::askOpenFile(const FileDialogRequest& request) {
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                      request.initialName, qtFilter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::askSaveFile(const FileDialogRequest& request) {
    QFileDialog::Options options;
    if (!request.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title, request.initialName,
                                     qtFilter(request.filter), nullptr, options);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<core::Colour> QtDialogs::chooseColour(core::Colour initial) {
    const QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

MessageResult QtDialogs::messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                    const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::None:
            break;
    }
    if (buttons == MessageButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int r = box.exec();
        return r == QMessageBox::Yes  ? MessageResult::Yes
               : r == QMessageBox::No ? MessageResult::No
                                      : MessageResult::Cancel;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageResult::Ok;
}

void QtDialogs::beep() {
    QApplication::beep();
}

namespace {
std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<QtDialogs>();
    return dialogs;
}
}  // namespace

Dialogs& dialogs() {
    return *current();
}

std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> dialogs) {
    std::unique_ptr<Dialogs> previous = std::move(current());
    current() = std::move(dialogs);
    if (!current()) current() = std::make_unique<QtDialogs>();
    return previous;
}

}  // namespace ui
