#include "SampleFiles.h"

#include <QBuffer>
#include <QImageWriter>

namespace samples {

namespace {
void put(QByteArray& bytes, quint32 value, int size) {  // little-endian
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void putAt(QByteArray& bytes, int at, quint32 value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
struct TiffEntry {
    quint16 tag, type;
    quint32 count, value;
};
constexpr quint16 kShort = 3, kLong = 4;
void putDirectory(QByteArray& bytes, std::initializer_list<TiffEntry> entries) {
    put(bytes, static_cast<quint32>(entries.size()), 2);
    for (const TiffEntry& e : entries) {
        put(bytes, e.tag, 2);
        put(bytes, e.type, 2);
        put(bytes, e.count, 4);
        put(bytes, e.value, 4);
    }
    put(bytes, 0, 4);
}
}  // namespace

QByteArray noise(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919 + 13) % 256);
    return bytes;
}

QByteArray unicodeText(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return utf16;
}

QByteArray pictureBytes(const QImage& picture, const char* format, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(90);
    writer.write(picture);
    return bytes;
}

QByteArray jpegDeclaring(int width, int height, bool colour, bool progressive) {
    QImage small(16, 16, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    small.fill(Qt::darkCyan);
    QByteArray bytes = pictureBytes(small, "jpeg", progressive);
    const qsizetype frame = bytes.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0");
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height & 0xFF);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

QByteArray tiffDeclaring(quint32 width, quint32 height) {
    QByteArray bytes("II*\0\x08\0\0\0", 8);
    putDirectory(bytes, {{256, kLong, 1, width}, {257, kLong, 1, height}, {258, kShort, 1, 8},
                         {262, kShort, 1, 1}, {273, kLong, 1, 8}, {279, kLong, 1, 1}});
    return bytes;
}

QByteArray tiffDirectoryFirst(int width, int height) {
    const auto pixels = static_cast<quint32>(width * height * 3);
    constexpr quint32 kEntries = 9, bitsAt = 8 + 2 + kEntries * 12 + 4, dataAt = bitsAt + 8;
    QByteArray bytes("II*\0\x08\0\0\0", 8);
    putDirectory(bytes, {{256, kLong, 1, static_cast<quint32>(width)}, {257, kLong, 1, static_cast<quint32>(height)},
                         {258, kShort, 3, bitsAt}, {259, kShort, 1, 1}, {262, kShort, 1, 2}, {273, kLong, 1, dataAt},
                         {277, kShort, 1, 3}, {278, kLong, 1, static_cast<quint32>(height)}, {279, kLong, 1, pixels}});
    for (int i = 0; i < 3; ++i) put(bytes, 8, 2);
    put(bytes, 0, 2);
    bytes.append(QByteArray(static_cast<qsizetype>(pixels), '\x40'));
    return bytes;
}

QByteArray bitmapDeclaring(qint32 width, qint32 height, int bitsPerPixel, int compression, int payload) {
    QByteArray b(54 + payload, '\0');
    b[0] = 'B';
    b[1] = 'M';
    putAt(b, 2, static_cast<quint32>(b.size()), 4);
    putAt(b, 10, 54, 4);
    putAt(b, 14, 40, 4);
    putAt(b, 18, static_cast<quint32>(width), 4);
    putAt(b, 22, static_cast<quint32>(height), 4);
    putAt(b, 26, 1, 2);
    putAt(b, 28, static_cast<quint32>(bitsPerPixel), 2);
    putAt(b, 30, static_cast<quint32>(compression), 4);
    return b;
}

QByteArray scannerTable(int rows, const FieldValue& value, const QByteArray& separator, const QByteArray& lineEnd) {
    QByteArray out = "\"scan\"" + lineEnd + "\"peakarea\"" + lineEnd + "\"filename\"";
    for (const char* name : {"position (mm)", "a", "validity", "b", "c", "d", "e", "kcps", "Fe"})
        out += separator + "\"" + name + "\"";
    out += lineEnd;
    for (int p = 1; p <= rows; ++p) {
        out += "\"L" + QByteArray::number(p) + ".spe\"" + separator + QByteArray::number(0.2 * p);
        for (int f = 3; f <= 10; ++f) out += separator + (value ? value(f, p) : QByteArray::number(f * 100 + p));
        out += lineEnd;
    }
    return out;
}

}  // namespace samples
