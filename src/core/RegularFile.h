#pragma once

#include <QFile>
#include <QString>

// What lies at a path, told without opening it: opening a pipe (FIFO) waits for a writer, so the
// program would freeze. Every file the user chooses is checked so before it is opened.
namespace core {

enum class PathKind { Missing, Folder, RegularFile, Other };  // Other: a pipe, a device, a socket

PathKind pathKind(const QString& path);

// Throws core::FileError: kFileNotFound when nothing is there, kPathNotFound for a folder,
// kNotARegularFile for a pipe, a device or a socket.
void requireRegularFile(const QString& path);
// `file` opened for reading once it is known to be a regular file; throws as requireRegularFile,
// and core::FileError kFileNotFound ("Cannot open ...") when it cannot be opened.
void openRegularFile(QFile& file);

}  // namespace core
