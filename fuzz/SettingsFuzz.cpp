// The settings reader over any bytes: a table read, or a damaged file named; nothing else.
#include <cstddef>
#include <cstdint>

#include "core/BoundedArray.h"
#include "core/Errors.h"
#include "core/Variant.h"
#include "files/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    core::Array2<core::Variant> table(0, 3, 0, 100);
    try {
        files::readSettings(bytes, table);
        (void)files::writeSettings(table);
    } catch (const core::RuntimeError&) {
    }
    return 0;
}
