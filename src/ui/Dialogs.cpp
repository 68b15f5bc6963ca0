#include "ui/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

#include "core/Errors.h"
#include "ui/QtColour.h"

namespace ui {

namespace {
const QSize kDocumentWindowSize(1000, 800);

QString& startFolder() {
    static QString folder;
    return folder;
}

// A request without a folder of its own starts in the start folder.
FileDialogRequest inStartFolder(FileDialogRequest request) {
    const bool hasFolder = QFileInfo(request.initialName).isAbsolute();
    if (!startFolder().isEmpty() && !hasFolder)
        request.initialName = QDir(startFolder()).filePath(request.initialName);
    return request;
}
}  // namespace

void setStartFolder(const QString& folder) {
    startFolder() = folder;
}

QString Dialogs::openFile(const FileDialogRequest& request) {
    std::optional<QString> path = askOpenFile(inStartFolder(request));
    if (!path || path->isEmpty()) throw core::CancelledError();
    return *path;
}

QString Dialogs::saveFile(const FileDialogRequest& request) {
    std::optional<QString> path = askSaveFile(inStartFolder(request));
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

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Warning,
                                                   QMessageBox::Information, QMessageBox::Question,
                                                   QMessageBox::Critical};
    return kIcons[static_cast<int>(icon)];  // in the order of MessageIcon
}

// Qt's modal dialogs, over the active window.
class QtDialogs : public Dialogs {
  public:
    std::optional<core::Colour> chooseColour(core::Colour initial) override {
        const QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
        if (!chosen.isValid()) return std::nullopt;
        return fromQColor(chosen);
    }

    MessageResult messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        box.setIcon(qtIcon(icon));
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

    void beep() override { QApplication::beep(); }

    // A Markdown document (the manual) is shown in the program's own window, with its pictures;
    // anything else by the desktop's viewer.
    bool openDocument(const QString& path) override {
        if (!path.endsWith(QStringLiteral(".md"), Qt::CaseInsensitive))
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        static QPointer<QTextBrowser> browser;
        if (!browser) {
            browser = new QTextBrowser;
            browser->setAttribute(Qt::WA_DeleteOnClose);
            browser->setOpenExternalLinks(true);
            browser->resize(kDocumentWindowSize);
        }
        browser->setSearchPaths({QFileInfo(path).absolutePath()});
        browser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
        browser->setWindowTitle(QStringLiteral("Stratalyser manual (") + QDir::toNativeSeparators(path) + QLatin1Char(')'));
        browser->show();
        browser->raise();
        browser->activateWindow();
        return !browser->document()->isEmpty();
    }

    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& initial) override {
        bool ok = false;
        const QString text =
            QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, initial, &ok);
        if (!ok) return std::nullopt;
        return text;
    }

  protected:
    std::optional<QString> askOpenFile(const FileDialogRequest& request) override {
        return chosenPath(QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                       request.initialName, qtFilter(request.filter)));
    }
    std::optional<QString> askSaveFile(const FileDialogRequest& request) override {
        QFileDialog::Options options;
        if (!request.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
        return chosenPath(QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title,
                                                       request.initialName, qtFilter(request.filter), nullptr,
                                                       options));
    }

  private:
    static std::optional<QString> chosenPath(const QString& path) {
        if (path.isEmpty()) return std::nullopt;
        return path;
    }
};

}  // namespace

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
