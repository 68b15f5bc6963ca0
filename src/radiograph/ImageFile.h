#pragma once

#include <QImage>
#include <QString>

#include "core/Errors.h"

namespace radiograph {

inline constexpr int kMaxRadiographWidth = 32767;  // one data position per pixel column, counted in 16 bits

// A picture wider than the program can count positions for.
struct ImageTooWideError : core::RuntimeError {
    explicit ImageTooWideError(int width)
        : core::RuntimeError(core::kOverflow, "Image too wide"), width(width) {}
    int width;
};

// Decodes a Windows bitmap or JPEG file (recognised by content, not by name), 8-bit grey kept as
// 8-bit and everything else as 32-bit. Throws core::FileError for anything else or an unreadable
// file, and ImageTooWideError (before decoding) when maxWidth is given and exceeded.
QImage readBitmapOrJpeg(const QString& path, int maxWidth = 0);

}  // namespace radiograph
