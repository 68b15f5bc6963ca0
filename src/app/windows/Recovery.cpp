#include "app/windows/Recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <future>
#include <optional>

#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "chronology/windows/ChronologyPlotForm.h"
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
const QString kSetAside = QStringLiteral(".unused");
QString gFolder;
QString gAdopted;          // a copy offered and kept: removed with this program's own
QByteArray gLastMarks;     // the marks last written
bool gPending = false;     // a write is due
bool gRecovering = false;  // the files of a copy are being opened: no second offer
// The copy goes to the disk on a thread of its own: its sync to the disk takes milliseconds that a
// key press or a redraw must not wait for. One write at a time, in order; each gives why it failed
// (empty: it did not).
std::future<QString> gWriting;
bool gToldUnprotected = false;  // told that writes fail, until one succeeds again

// This program's copy has a name of its own (a process id is no name: in a container, a sandbox or
// after a reboot a live process may carry the id of the one that crashed).
const QString& ownCopyName() {
    static const QString name = kPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return name;
}

QString ownCopyPath() {
    return QDir(RecoveryFolder()).filePath(ownCopyName() + QStringLiteral(".csv"));
}

// A copy's lock file: held by the program that writes the copy for as long as it runs. The system
// lets go of it when that program ends, however it ends, so a copy whose lock nobody holds was left
// behind.
QString lockPathOf(const QString& copyPath) {
    QString lock = copyPath;
    if (lock.endsWith(QStringLiteral(".csv"))) lock.chop(4);
    return lock + QStringLiteral(".lock");
}

class CopyLock {
  public:
    CopyLock() = default;
    CopyLock(const CopyLock&) = delete;
    CopyLock& operator=(const CopyLock&) = delete;
    ~CopyLock() { release(); }
    bool held() const { return fd_ >= 0; }
    // True once this program holds the lock at `path`.
    bool hold(const QString& path) {
        if (fd_ >= 0 && path == path_) return true;
        release();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        fd_ = fd;
        path_ = path;
        return true;
    }
    // Lets go of the lock and removes its file.
    void release() {
        if (fd_ < 0) return;
        ::unlink(QFile::encodeName(path_).constData());
        ::close(fd_);
        fd_ = -1;
        path_.clear();
    }

  private:
    int fd_ = -1;
    QString path_;
};

CopyLock gOwnLock;

// A running program holds the copy's lock (this one included). A copy without a lock file was left
// by a program that is gone, or by an earlier version of this one.
bool heldByARunningProgram(const QString& copyPath) {
    const int fd = ::open(QFile::encodeName(lockPathOf(copyPath)).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// A copy that is not put back is kept under another name, never deleted; its stale lock goes.
QString setAside(const QString& copyPath) {
    const QString aside = copyPath + kSetAside;
    QFile::remove(aside);
    QFile::rename(copyPath, aside);
    QFile::remove(lockPathOf(copyPath));
    return aside;
}

void waitForWrite() {
    if (gWriting.valid()) gWriting.wait();
}

// The outcome of the write under way, once it is done: the user is told once that the count is
// not protected while writes fail.
void takeWriteOutcome() {
    waitForWrite();
    if (!gWriting.valid()) return;
    const QString error = gWriting.get();
    if (error.isEmpty()) {
        gToldUnprotected = false;
        return;
    }
    if (gToldUnprotected || programEnded()) return;
    gToldUnprotected = true;
    ui::dialogs().messageBox(QStringLiteral("The recovery copy of this count cannot be written to %1 (%2). Until it "
                                            "can, the count is not protected against a crash: save it often.")
                                 .arg(QDir::toNativeSeparators(RecoveryFolder()), error),
                             ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
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
        if (const int level = MarkerLevel(core::Position(p))) c.markers.emplace_back(p, level);
        if (MarkerLabel.contains(p) && isTextSet(MarkerLabel(p))) c.labels.emplace_back(p, MarkerLabel(p));
        if (MarkerNote.contains(p) && isTextSet(MarkerNote(p))) c.notes.emplace_back(p, MarkerNote(p));
    }
    return c;
}

// No running program keeps the copy: neither this one nor another.
bool leftBehind(const QFileInfo& file) {
    return file.absoluteFilePath() != QFileInfo(ownCopyPath()).absoluteFilePath() &&
           !heldByARunningProgram(file.absoluteFilePath());
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
            setAside(file.absoluteFilePath());
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

QString whenWritten(const files::RecoveryCopy& c) {
    return QDateTime::fromMSecsSinceEpoch(c.writtenMs).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// A copy that cannot be put back: said why, and kept aside.
void refuse(const Found& f, const QString& why) {
    ui::dialogs().messageBox(QStringLiteral("Unsaved counting from %1 was found (%2), but %3: it cannot be put "
                                            "back. The copy was set aside as %4.")
                                 .arg(whenWritten(f.copy), counted(f.copy), why,
                                      QDir::toNativeSeparators(f.path + kSetAside)),
                             ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
    setAside(f.path);
}

// Asked once per copy: Yes (true) puts it back; No sets it aside, where it stays.
bool askToRecover(const Found& f) {
    if (const QString changed = changedFiles(f.copy); !changed.isEmpty()) {
        refuse(f, changed);
        return false;
    }
    const ui::MessageResult answer = ui::dialogs().messageBox(
        QStringLiteral("Unsaved counting from %1 was found (%2); No keeps it aside as %3. Recover it?")
            .arg(whenWritten(f.copy), counted(f.copy), QDir::toNativeSeparators(f.path + kSetAside)),
        ui::MessageButtons::YesNo, ui::MessageIcon::Question, kTitle);
    if (answer == ui::MessageResult::Yes) return true;
    setAside(f.path);
    return false;
}

// The copy's marks in place of the open count's, as unsaved changes; the copy is removed with this
// program's own once it is saved or the program quits. A copy of a core of another length is
// refused (set aside).
void putBack(const Found& f) {
    const files::RecoveryCopy& c = f.copy;
    if (c.dataLength != DataLength) {
        refuse(f, QStringLiteral("the radiograph now has %1 columns, the counting %2").arg(DataLength).arg(c.dataLength));
        return;
    }
    if (!gAdopted.isEmpty() && gAdopted != f.path) QFile::remove(gAdopted);
    gAdopted = f.path;
    QFile::remove(lockPathOf(f.path));
    for (long p = 1; p <= DataLength; ++p) {
        if (YearMark.contains(p)) YearMark(p) = Variant(kNoMarker);
        if (MarkerLabel.contains(p)) MarkerLabel(p) = kNoMarker;
        if (MarkerNote.contains(p)) MarkerNote(p) = kNoMarker;
    }
    for (const auto& [p, level] : c.markers) YearMark(p) = Variant(static_cast<Integer>(level));
    ++MarksVersion;
    for (const auto& [p, text] : c.labels) MarkerLabel(p) = text;
    for (const auto& [p, text] : c.notes) MarkerNote(p) = text;
    RebuildNotePositions();
    Saved = false;
    if (c.viewRight > c.viewLeft && ColumnsPerPreviewTwip > 0) {  // the section as it was shown
        for (ui::Shape* frame : {frmPreview->sectionFrame, frmRawImage->sectionFrame})
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
    waitForWrite();
    gWriting = {};
    gOwnLock.release();
    gToldUnprotected = false;
    gFolder = folder;
    gAdopted.clear();
    gLastMarks.clear();
}

void MarkCountUnsaved() {
    ++MarksVersion;
    Saved = false;
    CountChanged();
}

void CountChanged() {
    ChronologyPlotMayHaveChanged();
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
    // The lock is taken once, in the folder the first write makes.
    if (!gOwnLock.held() && QDir().mkpath(RecoveryFolder())) gOwnLock.hold(lockPathOf(ownCopyPath()));
    gWriting = std::async(std::launch::async, [folder = RecoveryFolder(), path = ownCopyPath(),
                                               bytes = files::writeRecoveryCopy(copy)] {
        try {
            QDir().mkpath(folder);
            files::saveFileBytes(path, bytes);
            return QString();
        } catch (const core::RuntimeError& e) {
            // A full disk or a read-only folder: the count itself is still open and can be saved;
            // the user hears of it at once.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &FinishRecoveryWrite, Qt::QueuedConnection);
            return QString::fromStdString(e.what());
        }
    });
}

void FinishRecoveryWrite() {
    takeWriteOutcome();
}

void RemoveRecoveryCopy() {
    waitForWrite();  // a write under way would bring the copy back
    gWriting = {};
    QFile::remove(ownCopyPath());
    gOwnLock.release();
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
    // Files that did not open leave the copy where it is, to be offered again.
    if (XrfLoaded && samePath(WorkingFileName, c.table.path)) putBack(found.front());
}

void OfferRecoveryFor(const QString& radiograph, const QString& table) {
    if (gRecovering) return;
    for (const Found& f : copiesLeftBehind()) {
        if (!samePath(f.copy.radiograph.path, radiograph) || !samePath(f.copy.table.path, table)) continue;
        if (!newerThanSave(f.copy)) continue;
        if (askToRecover(f)) putBack(f);
        return;
    }
}

}  // namespace app
