#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <utility>
#include <vector>

namespace files {

// Larger than any file the program reads whole (settings, chronologies, records; a chronology of
// 200000 varves is about 20 MB); anything bigger is refused before it is read into memory.
inline constexpr qint64 kMaxFileBytes = 256ll * 1024 * 1024;
// The largest XRF table or working file, which are read in blocks: 200000 rows of 100 fields of
// up to 50 characters (a scanner writes about 10 a field, so a real table is a fifth of it).
inline constexpr qint64 kMaxTableBytes = 1024ll * 1024 * 1024;

// The whole file. Throws core::FileError for a missing, unreadable or oversized file or a folder.
QByteArray readFileBytes(const QString& path, qint64 maxBytes = kMaxFileBytes);
// Opens the file (named in it) for reading, with the same checks.
void openForReading(QFile& file, qint64 maxBytes = kMaxFileBytes);

// Text saved as "Unicode" by a spreadsheet or an editor (UTF-16 after its byte-order mark) as the
// same text in UTF-8; any other bytes as they are.
QByteArray unicodeTextAsUtf8(QByteArray bytes);

// Writes the file atomically: the bytes go to a temporary file beside it, which replaces the
// target only when everything was written. A failed save leaves the old file as it was and no
// half-written file behind. Throws core::FileError on failure.
void saveFileBytes(const QString& path, const QByteArray& bytes);
// The same for a file made of parts, saved one after another without being joined first.
void saveFileParts(const QString& path, const std::vector<std::string>& parts);
// Files that belong together (a chronology and its report): each is written in full to its
// temporary file before any replaces its target, so a full disk or a folder that refuses one leaves
// them all as they were. `replaced` counts the files replaced when a throw comes from the final
// replacing itself (the rare failure of a rename).
void saveFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files, std::size_t& replaced);

// The stages of a save, in order: the temporary file is open; half the bytes are written; all of
// them are written; the temporary file, synced to the disk, has replaced the target.
enum class SaveStage { TemporaryOpen, HalfWritten, Written, Replaced };

// Called at each stage of every save (none by default). The crash tests stop a save at each stage
// in turn to prove that whatever stage a crash falls in, the old file or the new one is left whole.
using SaveStageHook = void (*)(SaveStage);
void setSaveStageHook(SaveStageHook hook);

}  // namespace files
