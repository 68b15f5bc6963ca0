#include "files/FieldSyntax.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>
#include <string>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/Errors.h"

namespace files {

using core::Variant;

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

void appendChars(std::string& out, const char* begin, const char* end) {
    out.append(begin, static_cast<std::size_t>(end - begin));
}

void appendWhole(std::string& out, long long n) {
    char buffer[24];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
    appendChars(out, buffer, ptr);
}

template <typename Real>
void appendNumber(std::string& out, Real x) {
    if (!std::isfinite(x)) return;  // cannot be represented; written as an empty value
    if (x == Real(0)) {
        out.push_back('0');
        return;
    }
    // Whole numbers below 1e15 as integers (compared through the conversion, which needs no call
    // to the maths library as std::trunc does).
    if (std::fabs(x) < Real(1e15)) {
        if (const auto whole = static_cast<long long>(x); static_cast<Real>(whole) == x) {
            appendWhole(out, whole);
            return;
        }
    }
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);  // shortest exact form
    appendChars(out, buffer, ptr);
}

}  // namespace

void FieldWriter::append(std::string& out, const Variant& value) {
    // The numbers of a table first, without the general switch.
    if (const core::Integer* n = value.ifInteger()) {
        appendWhole(out, *n);
        return;
    }
    if (const double* d = value.ifDouble()) {
        appendNumber(out, *d);
        return;
    }
    switch (value.type()) {
        case Variant::Type::Empty:
            return;
        case Variant::Type::Integer:
        case Variant::Type::Long:
            appendWhole(out, static_cast<long long>(value.toDouble()));
            return;
        case Variant::Type::Single:
            appendNumber(out, static_cast<float>(value.toDouble()));
            return;
        case Variant::Type::Double:
            appendNumber(out, value.toDouble());
            return;
        case Variant::Type::Boolean:
            out.append(value.toDouble() != 0 ? "#TRUE#" : "#FALSE#");
            return;
        case Variant::Type::Date:
            out.append(('#' + value.toString().toLatin1() + '#').toStdString());
            return;
        case Variant::Type::String: {
            const std::size_t start = out.size() + 1;
            out.push_back('"');
            const QByteArray utf8 = value.asString().toUtf8();
            out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            for (std::size_t i = start; i < out.size(); ++i) {
                if (out[i] == '"') out[i] = '\'';
            }
            out.push_back('"');
            return;
        }
    }
}

QByteArray FieldWriter::encode(const Variant& value) {
    std::string out;
    append(out, value);
    return QByteArray::fromStdString(out);
}

template <typename Range>
void FieldWriter::writeValues(const Range& values) {
    bool first = true;
    for (const Variant& v : values) {
        if (!first) bytes_.push_back(',');
        first = false;
        append(bytes_, v);
    }
    bytes_.append("\r\n");
}

void FieldWriter::separate() {
    if (lineStarted_) bytes_.push_back(',');
    lineStarted_ = true;
}

void FieldWriter::field(const Variant& value) {
    separate();
    append(bytes_, value);
}

void FieldWriter::field(double number) {
    separate();
    appendNumber(bytes_, number);
}

void FieldWriter::endLine() {
    bytes_.append("\r\n");
    lineStarted_ = false;
}

void FieldWriter::writeLine(std::initializer_list<Variant> values) {
    writeValues(values);
}
void FieldWriter::writeLine(const std::vector<Variant>& values) {
    writeValues(values);
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number grammar: [+-] digits [. digits] [(e|E) [+-] digits], with digits on at least one
// side of the point. Anything else (including "inf" and "nan") is text.
bool isNumberText(const char* p, const char* end, bool& whole) {
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* intDigits = p;
    while (p < end && isDigit(*p)) ++p;
    bool any = p > intDigits;
    whole = true;
    if (p < end && *p == '.') {
        whole = false;
        ++p;
        const char* frac = p;
        while (p < end && isDigit(*p)) ++p;
        any = any || p > frac;
    }
    if (!any) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        whole = false;
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* expDigits = p;
        while (p < end && isDigit(*p)) ++p;
        if (p == expDigits) return false;
    }
    return p == end;
}

bool parseDate(const char* p, const char* end, core::Date& date) {
    // yyyy-mm-dd
    if (end - p != 10 || p[4] != '-' || p[7] != '-') return false;
    auto number = [](const char* b, const char* e, int& out) {
        const auto [ptr, ec] = std::from_chars(b, e, out);
        return ec == std::errc() && ptr == e;
    };
    return number(p, p + 4, date.year) && number(p + 5, p + 7, date.month) &&
           number(p + 8, p + 10, date.day) && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= 31;
}

QString decodeText(const char* begin, const char* end) {
    bool ascii = true;
    for (const char* p = begin; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            ascii = false;
            break;
        }
    }
    const auto size = static_cast<qsizetype>(end - begin);
    if (ascii) return QString::fromLatin1(begin, size);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(begin, size));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(begin, size);
}

}  // namespace

namespace {

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The most digits a number read on the quick path may have (see below).
constexpr int kMostQuickDigits = 15;

// The common numbers of a scanner's table ("1", "-0.011556", "3707.61304") without the general
// parser: [-]digits[.digits] with at most kMostQuickDigits (15) digits in all. Such a number's digits are exact in a
// double and so is the power of ten dividing them, so the one division rounds correctly: the
// result is the same double the general parser gives. False for anything else.
bool parseSimpleNumber(const char* p, const char* end, Variant& out) {
    const bool negative = *p == '-';
    if (negative) ++p;
    long long digits = 0;
    int count = 0, decimals = 0;
    bool point = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (++count > kMostQuickDigits) return false;  // before the sum could overflow
            digits = digits * 10 + (c - '0');
            if (point) ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (count == 0) return false;
    if (!point) {
        const long long n = negative ? -digits : digits;
        if (n >= std::numeric_limits<core::Integer>::min() && n <= std::numeric_limits<core::Integer>::max()) {
            out = Variant(static_cast<core::Integer>(n));
        } else if (n >= std::numeric_limits<core::Long>::min() && n <= std::numeric_limits<core::Long>::max()) {
            out = Variant(static_cast<core::Long>(n));
        } else {
            out = Variant(static_cast<double>(n));
        }
        return true;
    }
    const double value = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    out = Variant(negative ? -value : value);
    return true;
}

}  // namespace

Variant parseBareField(const char* begin, const char* end) {
    if (begin == end) return {};
    Variant simple;
    if (parseSimpleNumber(begin, end, simple)) return simple;
    bool whole = false;
    if (isNumberText(begin, end, whole)) {
        if (whole) {
            long long n = 0;
            const char* digits = (*begin == '+') ? begin + 1 : begin;
            const auto [ptr, ec] = std::from_chars(digits, end, n);
            if (ec == std::errc() && ptr == end) {
                if (n >= std::numeric_limits<core::Integer>::min() &&
                    n <= std::numeric_limits<core::Integer>::max()) {
                    return Variant(static_cast<core::Integer>(n));
                }
                if (n >= std::numeric_limits<core::Long>::min() &&
                    n <= std::numeric_limits<core::Long>::max()) {
                    return Variant(static_cast<core::Long>(n));
                }
            }
        }
        double d = 0.0;
        const char* digits = (*begin == '+') ? begin + 1 : begin;
        const auto [ptr, ec] = std::from_chars(digits, end, d);
        if (ec == std::errc() && ptr == end) return Variant(d);
        if (ec == std::errc::result_out_of_range)
            return Variant(decodeText(begin, end));  // too large: keep the text
        return Variant(d);
    }
    if (end - begin >= 2 && *begin == '#' && *(end - 1) == '#') {
        const char* inner = begin + 1;
        const char* innerEnd = end - 1;
        core::Date date;
        if (parseDate(inner, innerEnd, date)) return Variant(date);
        const QByteArray word = QByteArray(inner, innerEnd - inner).toUpper();
        if (word == "TRUE") return Variant(true);
        if (word == "FALSE") return Variant(false);
        if (word == "NULL") return {};
    }
    return Variant(decodeText(begin, end));
}

Variant parseTabField(const char* begin, const char* end) {
    if (begin == end) return {};
    Variant simple;
    if (parseSimpleNumber(begin, end, simple)) return simple;
    const char* comma = std::find(begin, end, ',');
    if (comma == end || std::find(comma + 1, end, ',') != end || std::find(begin, end, '.') != end)
        return parseBareField(begin, end);
    std::string withPoint(begin, end);
    withPoint[static_cast<std::size_t>(comma - begin)] = '.';
    bool whole = false;
    if (!isNumberText(withPoint.data(), withPoint.data() + withPoint.size(), whole))
        return parseBareField(begin, end);
    return parseBareField(withPoint.data(), withPoint.data() + withPoint.size());
}

Variant FieldReader::bareField(const char* begin, const char* end) const {
    return layout_.separator == '\t' ? parseTabField(begin, end) : parseBareField(begin, end);
}

FieldReader::FieldReader(QByteArray bytes, FieldLayout layout) : bytes_(std::move(bytes)), layout_(layout) {
    // A UTF-8 byte-order mark is not part of the first field.
    if (bytes_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
    findContentEnd();
}

FieldReader::FieldReader(QByteArray firstBytes, QIODevice& rest, qint64 totalBytes, FieldLayout layout,
                         qint64 maxBytes, qsizetype blockBytes)
    : bytes_(std::move(firstBytes)),
      layout_(layout),
      rest_(&rest),
      final_(false),
      totalBytes_(totalBytes),
      readBytes_(bytes_.size()),
      maxBytes_(maxBytes),
      blockBytes_(std::max<qsizetype>(1, blockBytes)) {
    if (bytes_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
    // (a mark cut by the end of the first bytes is no mark: the caller gives at least a block)
}

void FieldReader::findContentEnd() {
    const char* data = bytes_.constData();
    contentEnd_ = bytes_.size();
    while (contentEnd_ > pos_ && (isBlank(data[contentEnd_ - 1]) || isLineEnd(data[contentEnd_ - 1])))
        --contentEnd_;
    // A file that ends in the tab that ends its lines has no empty field after it.
    if (layout_.trailingSeparatorEndsLine && contentEnd_ > pos_ && data[contentEnd_ - 1] == layout_.separator)
        --contentEnd_;
}

// Drops the bytes before the field being read and adds at least bytesWanted more. False (and
// the end of the data known) when the device has no more.
bool FieldReader::readMore(qsizetype bytesWanted) {
    if (final_) return false;
    if (pos_ > 0) {
        bytes_.remove(0, pos_);
        base_ += pos_;
        scannedTo_ = std::max<qsizetype>(0, scannedTo_ - pos_);
        aheadContent_ -= pos_;
        pos_ = 0;
    }
    const QByteArray more = rest_->read(std::max(bytesWanted, blockBytes_));
    if (more.isEmpty()) {
        if (!rest_->atEnd()) {
            throw core::FileError(core::kPermissionDenied,
                                  ("Read error: " + rest_->errorString()).toStdString());
        }
        final_ = true;
        findContentEnd();
        return false;
    }
    readBytes_ += more.size();
    if (readBytes_ > maxBytes_) throw core::FileError(core::kFileTooLarge, "File too large");
    bytes_ += more;
    return true;
}

void FieldReader::skipBlanks() {
    const char* data = bytes_.constData();
    while (pos_ < bytes_.size() && isBlank(data[pos_])) ++pos_;
}

// Moves past one separator: a comma, or a line end (CR LF, CR or LF).
void FieldReader::skipSeparator() {
    const char* data = bytes_.constData();
    const qsizetype n = bytes_.size();
    lineEnded_ = true;
    if (pos_ >= n) return;
    if (data[pos_] == layout_.separator) {
        ++pos_;
        if (layout_.trailingSeparatorEndsLine && (pos_ >= n || isLineEnd(data[pos_]))) {
            // The tab that ends a scanner's line: the line ends here.
            if (pos_ < n && data[pos_] == '\r') ++pos_;
            if (pos_ < n && data[pos_] == '\n') ++pos_;
            return;
        }
        fieldFollows_ = true;  // a separator always has a field after it, even an empty one at the end
        lineEnded_ = false;
    } else if (data[pos_] == '\r') {
        ++pos_;
        if (pos_ < n && data[pos_] == '\n') ++pos_;
    } else if (data[pos_] == '\n') {
        ++pos_;
    }
}

// Reading from a device with no byte known ahead that starts a field: are there more fields?
bool FieldReader::noFieldAhead() {
    while (!final_) {
        // Any byte ahead that is neither blank nor a line end (nor the tab that may end the very
        // last line) means a further field; only a run of blank lines makes us read on. The last
        // such byte in hand is looked for, so one search serves until the reading gets there.
        if (aheadContent_ >= pos_) return false;
        const char* data = bytes_.constData();
        const qsizetype n = bytes_.size();
        for (qsizetype q = n - 1; q >= std::max(pos_, scannedTo_); --q) {
            const char c = data[q];
            if (!isBlank(c) && !isLineEnd(c) && !(layout_.trailingSeparatorEndsLine && c == layout_.separator)) {
                aheadContent_ = q;
                scannedTo_ = n;
                return false;
            }
        }
        scannedTo_ = n;
        readMore(blockBytes_);
    }
    return pos_ >= contentEnd_;
}

std::vector<Variant> FieldReader::readLine(std::size_t maxFields) {
    std::vector<Variant> line;
    do {
        if (line.size() >= maxFields)
            throw core::FileError(core::kTypeMismatch, "more than " + std::to_string(maxFields) + " fields on a line");
        line.push_back(readField());
    } while (!atEnd() && !lineEnded());
    return line;
}

Variant FieldReader::readField() {
    if (atEnd()) throw core::EndOfFileError();
    if (final_) return parseField();
    if (bytes_.size() - pos_ < blockBytes_) readMore(blockBytes_);
    for (;;) {
        // A field read from the bytes in hand is the field of the whole data unless its reading
        // reached their end: then it is read again with more (twice as many, so a field of any
        // length costs a few passes at most).
        const qsizetype start = pos_;
        const bool follows = fieldFollows_, ended = lineEnded_;
        try {
            Variant value = parseField();
            if (final_ || pos_ < bytes_.size()) return value;
        } catch (const core::EndOfFileError&) {
            if (final_) throw;
        }
        pos_ = start;
        fieldFollows_ = follows;
        lineEnded_ = ended;
        readMore(bytes_.size());
    }
}

Variant FieldReader::parseField() {
    fieldFollows_ = false;
    skipBlanks();
    const char* data = bytes_.constData();
    const qsizetype n = bytes_.size();
    if (pos_ >= n) {  // the empty field after a comma at the very end
        lineEnded_ = true;
        return {};
    }

    if (data[pos_] == '"') {
        const qsizetype start = pos_ + 1;
        qsizetype close = start;
        bool doubledQuotes = false;
        for (;;) {
            while (close < n && data[close] != '"') ++close;
            if (close >= n) throw core::EndOfFileError();  // unterminated text
            // A spreadsheet writes a quote inside a text as two quotes; the program itself never
            // writes two quotes in a row inside a text, so they can only mean one quote.
            if (close + 1 < n && data[close + 1] == '"') {
                doubledQuotes = true;
                close += 2;
                continue;
            }
            break;
        }
        Variant text;
        if (doubledQuotes) {
            const QByteArray unquoted = QByteArray(data + start, close - start).replace("\"\"", "\"");
            text = Variant(decodeText(unquoted.constData(), unquoted.constData() + unquoted.size()));
        } else {
            text = Variant(decodeText(data + start, data + close));
        }
        // Whatever stands between the closing quote and the next separator is ignored.
        pos_ = close + 1;
        while (pos_ < n && data[pos_] != layout_.separator && !isLineEnd(data[pos_])) ++pos_;
        skipSeparator();
        return text;
    }

    const qsizetype start = pos_;
    const char sep = layout_.separator;
    // Most fields of a table are short plain numbers: read them in the same pass that finds their
    // end ([-]digits[.digits], up to 15 digits: exact, as parseSimpleNumber explains).
    {
        qsizetype p = pos_;
        const bool negative = data[p] == '-';
        if (negative) ++p;
        long long digits = 0;
        int count = 0, decimals = 0;
        bool point = false, plain = true;
        for (; p < n; ++p) {
            const char c = data[p];
            if (c >= '0' && c <= '9') {
                // More digits than the quick path takes: the general path reads the field (and
                // the sum never grows past what a long long holds).
                if (++count > kMostQuickDigits) {
                    plain = false;
                    break;
                }
                digits = digits * 10 + (c - '0');
                decimals += point;
            } else if (c == sep || c == '\r' || c == '\n') {
                break;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                plain = false;
                break;
            }
        }
        if (plain && count > 0) {
            pos_ = p;
            skipSeparator();
            const long long whole = negative ? -digits : digits;
            if (point) {
                const double value = static_cast<double>(digits) / kExactPowersOfTen[decimals];
                return Variant(negative ? -value : value);
            }
            if (whole >= std::numeric_limits<core::Integer>::min() &&
                whole <= std::numeric_limits<core::Integer>::max())
                return Variant(static_cast<core::Integer>(whole));
            if (whole >= std::numeric_limits<core::Long>::min() && whole <= std::numeric_limits<core::Long>::max())
                return Variant(static_cast<core::Long>(whole));
            return Variant(static_cast<double>(whole));
        }
    }
    while (pos_ < n && data[pos_] != sep && !isLineEnd(data[pos_])) ++pos_;
    qsizetype end = pos_;
    while (end > start && isBlank(data[end - 1])) --end;
    skipSeparator();
    return bareField(data + start, data + end);
}

}  // namespace files
