#include "files/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <span>

#include "core/Errors.h"
#include "core/RegularFile.h"

namespace files {

namespace {
constexpr qint64 kReadChunkBytes = 1024 * 1024;

SaveStageHook saveStageHook = nullptr;

void reachStage(SaveStage stage) {
    if (saveStageHook != nullptr) saveStageHook(stage);
}

[[noreturn]] void fail(int number, const QString& what, const QString& path) {
    throw core::FileError(number, (what + QStringLiteral(": ") + path).toStdString());
}
}  // namespace

void openForReading(QFile& file, qint64 maxBytes) {
    const QString path = file.fileName();
    if (path.isEmpty()) fail(core::kBadFileName, QStringLiteral("Bad file name"), path);
    core::requireRegularFile(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(core::kPermissionDenied, QStringLiteral("Permission denied"), path);
    if (file.size() > maxBytes) fail(core::kFileTooLarge, QStringLiteral("File too large"), path);
}

QByteArray readFileBytes(const QString& path, qint64 maxBytes) {
    QFile file(path);
    openForReading(file, maxBytes);
    // Read what the file holds: QIODevice::read(n) sizes its buffer to n first, so asking for the
    // limit would take the limit's memory for every file. A file that grows while it is read (or a
    // device that reports no size) is read on in chunks, up to one byte past the limit.
    QByteArray bytes = file.read(std::min(file.size(), maxBytes) + 1);
    while (bytes.size() <= maxBytes) {
        const QByteArray more = file.read(std::min(kReadChunkBytes, maxBytes + 1 - bytes.size()));
        if (more.isEmpty()) break;
        bytes += more;
    }
    if (bytes.size() > maxBytes) fail(core::kFileTooLarge, QStringLiteral("File too large"), path);
    if (file.error() != QFileDevice::NoError) fail(core::kPermissionDenied, file.errorString(), path);
    return bytes;
}

namespace {

// The parts, one after another, into the save file's temporary file, flushed; nothing replaced yet.
void writeTemporary(QSaveFile& file, std::span<const QByteArrayView> parts) {
    const QString path = file.fileName();
    if (path.isEmpty()) fail(core::kBadFileName, QStringLiteral("Bad file name"), path);
    if (!file.open(QIODevice::WriteOnly)) fail(core::kPermissionDenied, file.errorString(), path);
    reachStage(SaveStage::TemporaryOpen);
    const auto writeAll = [&](const char* from, qsizetype count) {
        // A short write (the disk filled up) is tried again, so the next one says why it failed.
        qint64 done = 0;
        while (done < count) {
            const qint64 n = file.write(from + done, count - done);
            if (n <= 0) break;
            done += n;
        }
        if (done != count || !file.flush()) {
            const QString reason = file.errorString();  // the system's ("No space left on device")
            file.cancelWriting();                       // ... which this would replace by "canceled"
            fail(core::kPermissionDenied, reason, path);
        }
    };
    qsizetype total = 0;
    for (const QByteArrayView part : parts) total += part.size();
    const qsizetype half = total / 2;
    qsizetype written = 0;
    bool halfWritten = half == 0;
    if (halfWritten) reachStage(SaveStage::HalfWritten);
    for (const QByteArrayView part : parts) {
        for (qsizetype from = 0; from < part.size();) {
            // Up to the half of all the bytes first, then on.
            const qsizetype count = halfWritten ? part.size() - from : std::min(part.size() - from, half - written);
            writeAll(part.data() + from, count);
            from += count;
            written += count;
            if (!halfWritten && written >= half) {
                halfWritten = true;
                reachStage(SaveStage::HalfWritten);
            }
        }
    }
    reachStage(SaveStage::Written);
}

void commit(QSaveFile& file) {
    // The commit syncs the temporary file to the disk before it replaces the target.
    if (!file.commit()) fail(core::kPermissionDenied, file.errorString(), file.fileName());
    reachStage(SaveStage::Replaced);
}

}  // namespace

void saveFileBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    const QByteArrayView whole(bytes);
    writeTemporary(file, {&whole, 1});
    commit(file);
}

void saveFileParts(const QString& path, const std::vector<std::string>& parts) {
    QSaveFile file(path);
    std::vector<QByteArrayView> views;
    for (const std::string& part : parts) views.emplace_back(part.data(), static_cast<qsizetype>(part.size()));
    writeTemporary(file, views);
    commit(file);
}

void saveFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files, std::size_t& replaced) {
    replaced = 0;
    std::vector<std::unique_ptr<QSaveFile>> pending;
    for (const auto& [path, bytes] : files) {
        pending.push_back(std::make_unique<QSaveFile>(path));
        const QByteArrayView whole(bytes);
        writeTemporary(*pending.back(), {&whole, 1});  // a failure here leaves every file as it was
    }
    for (const auto& file : pending) {
        commit(*file);
        ++replaced;
    }
}

void setSaveStageHook(SaveStageHook hook) {
    saveStageHook = hook;
}

QByteArray unicodeTextAsUtf8(QByteArray bytes) {
    const bool little = bytes.startsWith("\xFF\xFE"), big = bytes.startsWith("\xFE\xFF");
    if (!little && !big) return bytes;
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString text = decoder(QByteArrayView(bytes.constData() + 2, bytes.size() - 2));
    return text.toUtf8();
}

}  // namespace files
