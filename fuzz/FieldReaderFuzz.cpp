// The field reader over any bytes, in each of its layouts: every field read until the end, with
// no crash, no hang and no error but the end of the data.
#include <cstddef>
#include <cstdint>

#include "core/Errors.h"
#include "files/FieldSyntax.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const files::FieldLayout layout :
         {files::FieldLayout::comma(), files::FieldLayout::tab(false), files::FieldLayout::tab(true)}) {
        files::FieldReader reader(bytes, layout);
        try {
            while (!reader.atEnd()) (void)reader.readField();
        } catch (const core::EndOfFileError&) {
        }
    }
    return 0;
}
