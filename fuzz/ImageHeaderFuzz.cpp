// The bitmap and JPEG header checks over any bytes: a declared size (or none) found without
// decoding, never reading outside the bytes given.
#include <cstddef>
#include <cstdint>

#include "radiograph/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)radiograph::declaredImage(bytes, static_cast<qint64>(size));
    // A header from a longer file: the declared picture against the file's size.
    (void)radiograph::declaredImage(bytes, static_cast<qint64>(size) * 16 + 1);
    return 0;
}
