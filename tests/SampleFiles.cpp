#include "SampleFiles.h"

#include <QBuffer>
#include <QFile>
#include <QStringEncoder>
#include <QImageWriter>

namespace samples {

QByteArray noise(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919 + 13) % 256);
    return bytes;
}

QByteArray unicodeText(const QByteArray& utf8) {
    return QByteArray("\xFF\xFE", 2) + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(QString::fromUtf8(utf8)));
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

QByteArray hostile(const char* name) {
    QFile file(QStringLiteral(STRATALYSER_TEST_DATA_DIR "/hostile/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
