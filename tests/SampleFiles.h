#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>

// Files as users and other programs make them, good and bad, built in memory for the tests.
namespace samples {

QByteArray noise(int size);                          // bytes that are no format at all
QByteArray unicodeText(const QByteArray& utf8);      // a spreadsheet's "Unicode text": UTF-16 LE after its mark
QByteArray pictureBytes(const QImage& picture, const char* format, bool progressive = false);

// A small JPEG whose frame header declares width x height pixels.
QByteArray jpegDeclaring(int width, int height, bool colour = true, bool progressive = false);
// A hand-made hostile picture of tests/data/hostile (its README says how each was made).
QByteArray hostile(const char* name);

// A scanner table of `rows` rows of 10 fields: the spectrum name, the position 0.2 p mm, then
// value(field, p) for fields 3..10 ("kcps" is field 9, "Fe" field 10); by default 100 f + p.
using FieldValue = std::function<QByteArray(int field, int row)>;
QByteArray scannerTable(int rows, const FieldValue& value = {}, const QByteArray& separator = ",",
                        const QByteArray& lineEnd = "\r\n");

}  // namespace samples
