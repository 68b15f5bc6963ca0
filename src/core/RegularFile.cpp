#include "core/RegularFile.h"

#include <sys/stat.h>

#include "core/Errors.h"

namespace core {

PathKind pathKind(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return PathKind::Missing;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

void requireRegularFile(const QString& path) {
    const std::string name = path.toStdString();
    switch (pathKind(path)) {
        case PathKind::Missing:
            throw FileError(kFileNotFound, "File not found: " + name);
        case PathKind::Folder:
            throw FileError(kPathNotFound, "Not a file: " + name);
        case PathKind::Other:
            throw FileError(kNotARegularFile, "Not a regular file: " + name);
        case PathKind::RegularFile:
            return;
    }
}

void openRegularFile(QFile& file) {
    requireRegularFile(file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(kFileNotFound, ("Cannot open " + file.fileName()).toStdString());
}

}  // namespace core
