#include "SampleFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageWriter>

namespace samples {

namespace {
// A little-endian stream writing into `bytes`, as bitmap and TIFF headers are laid out here.
struct LittleEndian : QDataStream {
    explicit LittleEndian(QByteArray* bytes) : QDataStream(bytes, QIODevice::WriteOnly | QIODevice::Append) {
        setByteOrder(QDataStream::LittleEndian);
    }
};
struct TiffEntry {
    quint16 tag, type;
    quint32 count, value;
};
constexpr quint16 kShort = 3, kLong = 4;
void putDirectory(QByteArray& bytes, std::initializer_list<TiffEntry> entries) {
    LittleEndian out(&bytes);
    out << static_cast<quint16>(entries.size());
    for (const TiffEntry& e : entries) out << e.tag << e.type << e.count << e.value;
    out << quint32(0);
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
    LittleEndian(&bytes) << quint16(8) << quint16(8) << quint16(8) << quint16(0);
    return bytes.append(QByteArray(static_cast<qsizetype>(pixels), '\x40'));
}

QByteArray bitmapDeclaring(qint32 width, qint32 height, int bitsPerPixel, int compression, int payload) {
    QByteArray b("BM");
    LittleEndian(&b) << quint32(54 + payload) << quint32(0) << quint32(54) << quint32(40) << width << height
                     << quint16(1) << quint16(bitsPerPixel) << quint32(compression);
    b.resize(54 + payload, '\0');
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
