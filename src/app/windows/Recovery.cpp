#include "app/windows/Recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <future>
#include <optional>

#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "curves/windows/Curves.h"
#include "curves/windows/LabelDialogs.h"
#include "files/Recovery.h"
#include "files/TextFile.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

const QString kTitle = QStringLiteral("Stratalyser");
const QString kPrefix = QStringLiteral("recovery-");
QString gFolder;
QString gAdopted;          // a copy offered and kept: removed with this program's own
QByteArray gLastMarks;     // the marks last written
bool gPending = false;     // a write is due
bool gRecovering = false;  // the files of a copy are being opened: no second offer
// The copy goes to the disk on a thread of its own: its sync to the disk takes milliseconds that a
// key press or a redraw must not wait for. One write at a time, in order.
std::future<void> gWriting;

QString ownCopyPath() {
    return QDir(RecoveryFolder()).filePath(kPrefix + QString::number(QCoreApplication::applicationPid()) + ".csv");
}

files::RecoveredFile fileRecord(const QString& path) {
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.size(), info.lastModified().toMSecsSinceEpoch()};
}

files::RecoveryCopy currentCopy() {
    files::RecoveryCopy c;
    c.writtenMs = QDateTime::currentMSecsSinceEpoch();
    c.radiograph = fileRecord(RadiographFileName);
    c.table = fileRecord(WorkingFileName);
    c.viewLeft = ViewLeft;
    c.viewRight = ViewRight;
    c.dataLength = DataLength;
    for (long p = 1; p <= DataLength; ++p) {
        if (const int level = MarkerLevel(p)) c.markers.emplace_back(p, level);
        if (MarkerLabel.contains(p) && isTextSet(MarkerLabel(p))) c.labels.emplace_back(p, MarkerLabel(p));
        if (MarkerNote.contains(p) && isTextSet(MarkerNote(p))) c.notes.emplace_back(p, MarkerNote(p));
    }
    return c;
}

// The process named in a copy's file name is gone (or the name names none).
bool leftBehind(const QFileInfo& file) {
    bool ok = false;
    const qint64 pid = file.completeBaseName().mid(kPrefix.size()).toLongLong(&ok);
    if (!ok) return true;
    if (pid == QCoreApplication::applicationPid()) return false;  // this program's own
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

struct Found {
    QString path;
    files::RecoveryCopy copy;
};

// The copies left behind, newest first; an unreadable one is named once and set aside.
std::vector<Found> copiesLeftBehind() {
    std::vector<Found> found;
    const QDir folder(RecoveryFolder());
    for (const QFileInfo& file : folder.entryInfoList({kPrefix + "*.csv"}, QDir::Files)) {
        if (!leftBehind(file) || file.absoluteFilePath() == gAdopted) continue;
        try {
            found.push_back({file.absoluteFilePath(), files::readRecoveryCopy(files::readFileBytes(file.filePath()))});
        } catch (const core::RuntimeError& e) {
            const auto* recovery = dynamic_cast<const files::RecoveryError*>(&e);
            ui::dialogs().messageBox(QStringLiteral("A recovery copy of an earlier counting, %1, cannot be used (%2). "
                                                    "It was set aside, and nothing was changed.")
                                         .arg(QDir::toNativeSeparators(file.filePath()),
                                              recovery ? recovery->reason : QString::fromStdString(e.what())),
                                     ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
            QFile::rename(file.filePath(), file.filePath() + QStringLiteral(".unused"));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.copy.writtenMs > b.copy.writtenMs; });
    return found;
}

QString counted(const files::RecoveryCopy& c) {
    return QStringLiteral("%1 boundaries, %2 labels, %3 notes")
        .arg(c.markers.size())
        .arg(c.labels.size())
        .arg(c.notes.size());
}

// What no longer matches the copy: a file gone or of another size. Empty when all is there.
QString changedFiles(const files::RecoveryCopy& c) {
    QStringList changed;
    for (const files::RecoveredFile* f : {&c.radiograph, &c.table}) {
        const QFileInfo now(f->path);
        if (!now.exists()) {
            changed << QStringLiteral("%1 no longer exists").arg(QDir::toNativeSeparators(f->path));
        } else if (now.size() != f->size) {
            changed << QStringLiteral("%1 has changed").arg(QDir::toNativeSeparators(f->path));
        }
    }
    return changed.join(QStringLiteral(" and "));
}

// Asked once per copy: Yes puts it back (true), No keeps it until this program saves or quits.
bool askToRecover(const Found& f) {
    const QString when = QDateTime::fromMSecsSinceEpoch(f.copy.writtenMs).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (const QString changed = changedFiles(f.copy); !changed.isEmpty()) {
        ui::dialogs().messageBox(
            QStringLiteral("Unsaved counting from %1 was found (%2), but %3: it cannot be put "
                           "back. The copy was set aside as %4.")
                .arg(when, counted(f.copy), changed, QDir::toNativeSeparators(f.path + QStringLiteral(".unused"))),
            ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
        QFile::rename(f.path, f.path + QStringLiteral(".unused"));
        return false;
    }
    const ui::MessageResult answer = ui::dialogs().messageBox(
        QStringLiteral("Unsaved counting from %1 was found (%2). Recover it?").arg(when, counted(f.copy)),
        ui::MessageButtons::YesNo, ui::MessageIcon::Question, kTitle);
    if (!gAdopted.isEmpty() && gAdopted != f.path) QFile::remove(gAdopted);
    gAdopted = f.path;
    return answer == ui::MessageResult::Yes;
}

// The copy's marks in place of the open count's, as unsaved changes.
void putBack(const files::RecoveryCopy& c) {
    if (c.dataLength != DataLength) return;
    for (long p = 1; p <= DataLength; ++p) {
        if (YearMark.contains(p)) YearMark(p) = Variant(kNoMarker);
        if (MarkerLabel.contains(p)) MarkerLabel(p) = kNoMarker;
        if (MarkerNote.contains(p)) MarkerNote(p) = kNoMarker;
    }
    for (const auto& [p, level] : c.markers) YearMark(p) = Variant(static_cast<Integer>(level));
    for (const auto& [p, text] : c.labels) MarkerLabel(p) = text;
    for (const auto& [p, text] : c.notes) MarkerNote(p) = text;
    RebuildNotePositions();
    Saved = false;
    if (c.viewRight > c.viewLeft && ColumnsPerPreviewTwip > 0) {  // the section as it was shown
        for (ui::Shape* frame : {frmPreview->Shape1, frmRawImage->Shape1})
            frame->place(c.viewLeft / ColumnsPerPreviewTwip, frame->Top(),
                         (c.viewRight - c.viewLeft) / ColumnsPerPreviewTwip, frame->Height());
        RenderSection();
    }
    RedrawPlots();
    UpdateActiveYears();
    WriteRecoveryCopy();  // this program's own copy from now on
}

// Newer than the last save of its count: a working file saved after the copy was written wins.
bool newerThanSave(const files::RecoveryCopy& c) {
    const QFileInfo table(c.table.path);
    return !table.exists() || table.lastModified().toMSecsSinceEpoch() <= c.writtenMs;
}

bool samePath(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

QString RecoveryFolder() {
    if (!gFolder.isEmpty()) return gFolder;
    const QString fromEnvironment = qEnvironmentVariable("STRATALYSER_RECOVERY_FOLDER");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

void setRecoveryFolder(const QString& folder) {
    FinishRecoveryWrite();
    gFolder = folder;
    gAdopted.clear();
    gLastMarks.clear();
}

void CountChanged() {
    if (gPending || !XrfLoaded || Saved) return;
    gPending = true;
    QTimer::singleShot(kRecoveryDelayMs, [] {
        gPending = false;
        WriteRecoveryCopy();
    });
}

void WriteRecoveryCopy() {
    if (!XrfLoaded || Saved || programEnded()) return;
    const files::RecoveryCopy copy = currentCopy();
    QByteArray marks = files::recoveryMarks(copy);
    if (marks == gLastMarks && QFileInfo::exists(ownCopyPath())) return;  // nothing changed since
    FinishRecoveryWrite();
    gLastMarks = std::move(marks);
    gWriting = std::async(std::launch::async,
                          [folder = RecoveryFolder(), path = ownCopyPath(), bytes = files::writeRecoveryCopy(copy)] {
                              try {
                                  QDir().mkpath(folder);
                                  files::saveFileBytes(path, bytes);
                              } catch (const core::RuntimeError&) {
                                  // A full disk or a read-only folder: the count itself is still open and can be saved.
                              }
                          });
}

void FinishRecoveryWrite() {
    if (gWriting.valid()) gWriting.wait();
}

void RemoveRecoveryCopy() {
    FinishRecoveryWrite();  // a write under way would bring the copy back
    QFile::remove(ownCopyPath());
    if (!gAdopted.isEmpty()) QFile::remove(gAdopted);
    gAdopted.clear();
    gLastMarks.clear();
}

void OfferRecoveryAtStart() {
    if (XrfLoaded) return;
    std::vector<Found> found = copiesLeftBehind();
    std::erase_if(found, [](const Found& f) { return !newerThanSave(f.copy); });
    if (found.empty() || !askToRecover(found.front())) return;
    const files::RecoveryCopy& c = found.front().copy;
    CommandLine files;
    files.radiograph = c.radiograph.path;
    files.xrf = c.table.path;
    gRecovering = true;
    openFromCommandLine(files);
    gRecovering = false;
    if (XrfLoaded && samePath(WorkingFileName, c.table.path)) putBack(c);
}

void OfferRecoveryFor(const QString& radiograph, const QString& table) {
    if (gRecovering) return;
    for (const Found& f : copiesLeftBehind()) {
        if (!samePath(f.copy.radiograph.path, radiograph) || !samePath(f.copy.table.path, table)) continue;
        if (!newerThanSave(f.copy)) continue;
        if (askToRecover(f)) putBack(f.copy);
        return;
    }
}

}  // namespace app
