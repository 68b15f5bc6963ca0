#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/Variant.h"

// The one comma-separated field syntax of every file the program reads or writes (settings,
// working file, XRF data, summary).
//
//   text    "between double quotes", written without escapes; when read, two double quotes
//           inside a text (as spreadsheets write them) are one double quote
//   number  bare, "." as the decimal point whatever the locale; whole numbers without a point,
//           fractions in their shortest exact form
//   empty   nothing between two separators
//   date    #yyyy-mm-dd#        (Booleans as #TRUE# / #FALSE#)
//
// Reading is field by field: line ends are separators like commas, and a short line is
// completed from the next one. Files are written as UTF-8; a text field that is not valid UTF-8
// is read as Latin-1, so files written by older Windows programs keep their accents.
class QIODevice;

namespace files {

class FieldWriter {
  public:
    // Writes the values of one line, separated by commas, ended by CR LF.
    void writeLine(std::initializer_list<core::Variant> values);
    void writeLine(const std::vector<core::Variant>& values);

    // A text holding a double quote cannot be written in this syntax: each double quote is
    // written as a single quote ('), so the line always reads back with the same number of fields.
    static QByteArray encode(const core::Variant& value);
    static void append(std::string& out, const core::Variant& value);

    // A line written field by field: each field after the first is preceded by a comma.
    void field(const core::Variant& value);
    void field(double number);  // as a Double would be written (a whole one as an Integer or Long)
    void endLine();

    void reserve(qsizetype bytes) { bytes_.reserve(static_cast<std::size_t>(bytes)); }
    // The whole lines another writer wrote, after these.
    void appendLines(FieldWriter&& other) {
        bytes_ += other.bytes_;
        other.bytes_ = std::string();
    }
    QByteArray bytes() const { return QByteArray::fromStdString(bytes_); }
    // The text written, without a copy (for a large file saved as it is).
    std::string takeText() { return std::exchange(bytes_, std::string()); }
    QByteArray takeBytes() {
        QByteArray out = bytes();
        bytes_ = std::string();
        return out;
    }

  private:
    template <typename Range>
    void writeValues(const Range& values);
    void separate();  // the comma before a field that is not the line's first

    std::string bytes_;  // (a standard string: appending is cheaper than to a QByteArray)
    bool lineStarted_ = false;
};

// How the fields of a file are separated. The program's own files are comma-separated; an XRF
// scanner writes its result table with tabs, usually with a tab at the end of every line as well,
// which ends the line rather than starting an empty field.
struct FieldLayout {
    char separator = ',';
    bool trailingSeparatorEndsLine = false;
    static FieldLayout comma() { return {}; }
    static FieldLayout tab(bool trailingTab) { return {'\t', trailingTab}; }
};

class FieldReader {
  public:
    explicit FieldReader(QByteArray bytes, FieldLayout layout = FieldLayout::comma());
    // Reads the first bytes given, then the rest from the device as it goes, a block at a time:
    // the whole file is never held at once. A big table then costs the memory of its values, not
    // of its values and its text. Reads exactly as the reader of the whole bytes would.
    // totalBytes: the file's size, for size(); more than maxBytes in all throws core::FileError.
    FieldReader(QByteArray firstBytes, QIODevice& rest, qint64 totalBytes, FieldLayout layout,
                qint64 maxBytes, qsizetype blockBytes = kStreamBlockBytes);

    static constexpr qsizetype kStreamBlockBytes = 1024 * 1024;

    // The next field. Throws core::EndOfFileError when every field has been read.
    core::Variant readField();
    // The fields up to the end of the line (at least one). Throws core::EndOfFileError at the end,
    // and core::FileError when the line holds more than maxFields (a reader that knows its lines'
    // width stops there instead of holding a whole file of separators as fields).
    std::vector<core::Variant> readLine(std::size_t maxFields = SIZE_MAX);
    // True once the last field has been read. Trailing blank lines and blanks after the last
    // field do not count as a further (empty) field: an editor's final newline must not add a
    // row to a table.
    bool atEnd() {
        if (fieldFollows_) return false;
        if (final_) return pos_ >= contentEnd_;
        return aheadContent_ < pos_ && noFieldAhead();
    }
    // True when the field read last ended its line: a line end or the end of the data followed it,
    // not a comma. Readers of fixed-width rows check their field counts with it.
    bool lineEnded() const { return lineEnded_; }
    // Position in bytes from the start of the data, for progress reports.
    qsizetype position() const { return base_ + pos_; }
    qsizetype size() const { return final_ ? base_ + bytes_.size() : totalBytes_; }

  private:
    core::Variant parseField();
    bool noFieldAhead();
    bool readMore(qsizetype bytesWanted);
    void findContentEnd();
    void skipBlanks();
    void skipSeparator();
    bool isBlank(char c) const { return c == ' ' || (c == '\t' && layout_.separator != '\t'); }
    core::Variant bareField(const char* begin, const char* end) const;

    QByteArray bytes_;  // the data, or the part of it read and not yet passed
    FieldLayout layout_;
    qsizetype pos_ = 0;
    // One past the last byte that is neither a blank nor a line end: from there on only blank
    // lines remain. Found once, so a long run of line ends is passed over once, not per field.
    // Known once the last byte is in (final_).
    qsizetype contentEnd_ = 0;
    bool fieldFollows_ = false;
    bool lineEnded_ = false;

    // Reading from a device: bytes_ holds the data from base_ on; blocks are added as fields need
    // them and what lies before the field being read is dropped.
    QIODevice* rest_ = nullptr;
    bool final_ = true;  // no more bytes to come
    qsizetype base_ = 0;
    qint64 totalBytes_ = 0, readBytes_ = 0, maxBytes_ = 0;
    qsizetype blockBytes_ = kStreamBlockBytes;
    qsizetype aheadContent_ = -1;  // a byte known to start or hold a further field
    qsizetype scannedTo_ = 0;      // bytes before it were searched for one
};

// A byte that ends a line: CR or LF (CR LF is two of them).
inline bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The program's stored texts (labels, notes): "---" or "#---" for none, else "#" + the text typed.
inline bool isStoredText(const QString& stored) {
    return !stored.isEmpty() && stored != QStringLiteral("---") && stored != QStringLiteral("#---");
}
inline QString typedText(const QString& stored) {
    return stored.startsWith(QLatin1Char('#')) ? stored.mid(1) : stored;
}

// A bare field of a tab-separated file may carry a decimal comma, as a spreadsheet in many
// languages writes it ("0,21"): a number with one comma in place of the point reads as that number.
core::Variant parseTabField(const char* begin, const char* end);

// Parses a bare (unquoted) field's text, already trimmed, into its value: empty, number, date,
// Boolean or text. Whole numbers become Integer when they fit 16 bits, Long when they fit 32
// bits, else Double; numbers with a point or exponent become Double.
core::Variant parseBareField(const char* begin, const char* end);

}  // namespace files
