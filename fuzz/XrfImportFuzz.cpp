// The XRF table and working file reader over any bytes (comma or tab form, decided by content):
// a table read (its working columns checked, its curve table built) or an error with a reason.
#include <cstddef>
#include <cstdint>

#include "core/BoundedArray.h"
#include "core/Errors.h"
#include "files/XrfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const files::XrfContents contents = files::readXrfTable(bytes);
        if (contents.workingFile) files::checkWorkingColumns(contents);
        const int columns = contents.workingFile ? contents.columnCount - 4 : contents.columnCount;
        if (columns >= 1 && contents.rowCount >= 1) {
            core::Array<core::Integer> grey(0, contents.rowCount, 0);
            (void)files::buildCurveTable(contents.data, contents.headers, columns, contents.rowCount, grey);
            (void)files::scannerStepMicrons(contents.data, contents.rowCount);
        }
    } catch (const core::RuntimeError&) {
    }
    return 0;
}
