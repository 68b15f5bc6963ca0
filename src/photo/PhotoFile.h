#pragma once

#include <QImage>
#include <QString>

namespace photo {

// Reads a core photo: Windows bitmap, JPEG, PNG or TIFF (8 or 16 bits per channel, grey or
// colour), recognised by content, not by name. The result is 32-bit RGB (16-bit channels keep
// their upper 8 bits' worth, rounded). The header is checked before the picture is decoded, with
// the radiograph's limits: radiograph::ImageTooLargeError, radiograph::ImageTruncatedError;
// core::FileError for an unreadable file, another kind of file, or one the decoder cannot finish.
// `pages`, when given, receives the count of pictures in the file (a TIFF may hold several; the
// first is read).
QImage readPhoto(const QString& path, int* pages = nullptr);

}  // namespace photo
