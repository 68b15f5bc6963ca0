#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "core/Errors.h"

// The recovery copy of a count: what puts the markers, labels and notes back after a crash or a
// power cut, with the files they belong to. Comma-separated lines (the program's field syntax):
//
//   "stratalyser recovery", format version (1)
//   "written", milliseconds since 1970 (UTC)
//   "radiograph", path, size in bytes, modification time (ms since 1970)
//   "table", path, size, modification time            the XRF table or working file
//   "section", first column, last column, positions   the section shown, the core's length
//   "marker", position, level                          one line per marked position
//   "label", position, stored text                     ("#" + text)
//   "note", position, stored text
//   "end", number of marker, label and note lines      a file cut short lacks it
namespace files {

inline constexpr int kRecoveryFormat = 1;

struct RecoveredFile {
    QString path;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    bool operator==(const RecoveredFile&) const = default;
};

struct RecoveryCopy {
    qint64 writtenMs = 0;
    RecoveredFile radiograph, table;
    long viewLeft = 0, viewRight = 0, dataLength = 0;
    std::vector<std::pair<long, int>> markers;  // position, level
    std::vector<std::pair<long, QString>> labels, notes;
    bool operator==(const RecoveryCopy&) const = default;
};

// A file that is no recovery copy this program can use; `reason` is for the user.
struct RecoveryError : core::RuntimeError {
    explicit RecoveryError(const QString& why)
        : core::RuntimeError(core::kTypeMismatch, why.toStdString()), reason(why) {}
    QString reason;
};

QByteArray writeRecoveryCopy(const RecoveryCopy& copy);
// The marks alone, as written: two copies with equal marks need no second write.
QByteArray recoveryMarks(const RecoveryCopy& copy);
// Throws RecoveryError: cut short, not a recovery copy, a newer format, positions outside the core.
RecoveryCopy readRecoveryCopy(const QByteArray& bytes);

}  // namespace files
