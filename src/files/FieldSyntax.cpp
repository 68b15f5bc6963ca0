#include "files/FieldSyntax.h"

#include <QStringDecoder>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/Errors.h"

namespace files {

using core::Variant;

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

QByteArray numberText(double x) {
    if (!std::isfinite(x)) return {};  // cannot be represented; written as an empty value
    if (x == 0.0) return QByteArrayLiteral("0");
    if (x == std::trunc(x) && std::fabs(x) < 1e15) return QByteArray::number(static_cast<long long>(x));
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);
    return QByteArray(buffer, ptr - buffer);
}

QByteArray singleNumberText(float x) {
    if (!std::isfinite(x)) return {};
    if (x == 0.0f) return QByteArrayLiteral("0");
    if (x == std::trunc(x) && std::fabs(x) < 1e15f) return QByteArray::number(static_cast<long long>(x));
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);  // shortest form of the float
    return QByteArray(buffer, ptr - buffer);
}

}  // namespace

QByteArray FieldWriter::encode(const Variant& value) {
    switch (value.type()) {
        case Variant::Type::Empty:
            return {};
        case Variant::Type::Integer:
        case Variant::Type::Long:
            return QByteArray::number(static_cast<long long>(value.toDouble()));
        case Variant::Type::Single:
            return singleNumberText(static_cast<float>(value.toDouble()));
        case Variant::Type::Double:
            return numberText(value.toDouble());
        case Variant::Type::Boolean:
            return value.toDouble() != 0 ? QByteArrayLiteral("#TRUE#") : QByteArrayLiteral("#FALSE#");
        case Variant::Type::Date:
            return '#' + value.toString().toLatin1() + '#';
        case Variant::Type::String: {
            QByteArray text = value.asString().toUtf8();
            text.replace('"', '\'');
            return '"' + text + '"';
        }
    }
    return {};
}

template <typename Range>
void FieldWriter::writeValues(const Range& values) {
    bool first = true;
    for (const Variant& v : values) {
        if (!first) bytes_.append(',');
        first = false;
        bytes_.append(encode(v));
    }
    bytes_.append("\r\n");
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

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
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

Variant parseBareField(const char* begin, const char* end) {
    if (begin == end) return {};
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

FieldReader::FieldReader(QByteArray bytes) : bytes_(std::move(bytes)) {
    // A UTF-8 byte-order mark is not part of the first field.
    if (bytes_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
    const char* data = bytes_.constData();
    contentEnd_ = bytes_.size();
    while (contentEnd_ > pos_ && (isBlank(data[contentEnd_ - 1]) || isLineEnd(data[contentEnd_ - 1])))
        --contentEnd_;
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
    if (data[pos_] == ',') {
        ++pos_;
        fieldFollows_ = true;  // a comma always has a field after it, even an empty one at the end
        lineEnded_ = false;
    } else if (data[pos_] == '\r') {
        ++pos_;
        if (pos_ < n && data[pos_] == '\n') ++pos_;
    } else if (data[pos_] == '\n') {
        ++pos_;
    }
}

bool FieldReader::atEnd() const {
    return !fieldFollows_ && pos_ >= contentEnd_;
}

Variant FieldReader::readField() {
    if (atEnd()) throw core::EndOfFileError();
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
        while (close < n && data[close] != '"') ++close;
        if (close >= n) throw core::EndOfFileError();  // unterminated text
        Variant text(decodeText(data + start, data + close));
        // Whatever stands between the closing quote and the next separator is ignored.
        pos_ = close + 1;
        while (pos_ < n && data[pos_] != ',' && !isLineEnd(data[pos_])) ++pos_;
        skipSeparator();
        return text;
    }

    const qsizetype start = pos_;
    while (pos_ < n && data[pos_] != ',' && !isLineEnd(data[pos_])) ++pos_;
    qsizetype end = pos_;
    while (end > start && isBlank(data[end - 1])) --end;
    skipSeparator();
    return parseBareField(data + start, data + end);
}

}  // namespace files
