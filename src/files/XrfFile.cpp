#include "files/XrfFile.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "core/Arithmetic.h"
#include "files/TextFile.h"

namespace files {

using core::Variant;

namespace {

// Where a line whose first field is "filename" (bare or quoted) starts, or -1. Quoted texts are
// passed over whole, as the reader reads them: a line inside one is no line of the table (a working
// file may keep a text that holds a line starting with "filename").
qsizetype headerLineStart(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype p = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    bool lineStart = true;
    while (p < n) {  // p: the start of a field
        while (p < n && data[p] == ' ') ++p;
        const bool quoted = p < n && data[p] == '"';
        if (lineStart && bytes.mid(p + (quoted ? 1 : 0), 8) == "filename") return p + (quoted ? 1 : 0);
        if (quoted) {  // to the closing quote; two quotes inside are one quote
            for (++p;; p += 2) {
                while (p < n && data[p] != '"') ++p;
                if (p + 1 >= n || data[p + 1] != '"') break;
            }
            if (p >= n) return -1;
            ++p;
        }
        while (p < n && data[p] != ',' && data[p] != '\t' && !isLineEnd(data[p])) ++p;
        lineStart = p < n && isLineEnd(data[p]);
        if (lineStart) {
            while (p < n && isLineEnd(data[p])) ++p;
        } else {
            ++p;
        }
    }
    return -1;
}

QString text(const Variant& v) {
    return v.toString();
}

bool endsInSpe(const Variant& v) {
    return text(v).endsWith(QStringLiteral("spe"));
}

QString rowEndsEarly(int row, int fields, int expected) {
    return QStringLiteral("Data row %1 of the XRF file has %2 fields, but its header names %3. Please check "
                          "that every row of the table is complete.")
        .arg(row)
        .arg(fields)
        .arg(expected);
}

}  // namespace

namespace {
// Where the separator after the header's "filename" stands, or -1.
qsizetype separatorAfterFilename(const QByteArray& bytes) {
    const qsizetype start = headerLineStart(bytes);
    if (start < 0) return -1;
    qsizetype p = start + 8;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    if (p < n && data[p] == '"') ++p;
    while (p < n && data[p] == ' ') ++p;
    return p < n ? p : -1;
}

// A table whose fields a spreadsheet separated by semicolons would be read as one column.
void refuseSemicolons(const QByteArray& bytes) {
    const qsizetype p = separatorAfterFilename(bytes);
    if (p >= 0 && bytes[p] == ';')
        throw XrfFormatError(XrfFormatProblem::SemicolonSeparated, "fields separated by semicolons");
}
}  // namespace

FieldLayout detectXrfLayout(const QByteArray& bytes) {
    const qsizetype p = separatorAfterFilename(bytes);
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    if (p < 0 || data[p] != '\t') return FieldLayout::comma();
    qsizetype lineEnd = p;
    while (lineEnd < n && !isLineEnd(data[lineEnd])) ++lineEnd;
    return FieldLayout::tab(data[lineEnd - 1] == '\t');
}

XrfContents readXrfFields(FieldReader& reader, FieldLayout layout);

XrfContents readXrfTable(QByteArray bytes) {
    bytes = unicodeTextAsUtf8(std::move(bytes));
    refuseSemicolons(bytes);
    const FieldLayout layout = detectXrfLayout(bytes);
    FieldReader reader(std::move(bytes), layout);
    return readXrfFields(reader, layout);
}

XrfContents readXrfFile(const QString& path, qsizetype blockBytes) {
    QFile file(path);
    openForReading(file, kMaxTableBytes);
    QByteArray first = file.read(std::max<qsizetype>(blockBytes, 4));
    // The header line tells the separator: when the first block does not hold it whole (and for
    // "Unicode" text, which is converted first) the file is read whole, as before.
    const qsizetype header = headerLineStart(first);
    qsizetype headerEnd = header;
    while (headerEnd >= 0 && headerEnd < first.size() && !isLineEnd(first[headerEnd])) ++headerEnd;
    const bool unicode = first.startsWith("\xFF\xFE") || first.startsWith("\xFE\xFF");
    if (file.atEnd()) return readXrfTable(std::move(first));
    if (unicode || header < 0 || headerEnd >= first.size()) return readXrfTable(readFileBytes(path, kMaxTableBytes));
    refuseSemicolons(first);
    const FieldLayout layout = detectXrfLayout(first);
    FieldReader reader(std::move(first), file, file.size(), layout, kMaxTableBytes, blockBytes);
    return readXrfFields(reader, layout);
}

QString formatErrorReason(const QByteArray& head, XrfFormatProblem problem, qint64 dataRows) {
    const QString table = QStringLiteral(
        "Stratalyser imports the result table of an XRF core scanner (Results.txt, or a copy saved as "
        ".csv) or a working file it saved itself.");
    if (problem == XrfFormatProblem::TooManyRows) {
        return QStringLiteral("The table has %1 data rows; Stratalyser reads at most %2 rows (one per pixel "
                              "column of the radiograph). Please import the table of one core section.")
            .arg(dataRows)
            .arg(kMaxXrfRows);
    }
    const bool unicode = head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF");
    if (head.trimmed().isEmpty()) return QStringLiteral("The file is empty. ") + table;
    if (!unicode && head.contains('\0'))
        return QStringLiteral("The file is not a text table (it holds binary data). ") + table;
    QByteArray plain = head;  // the program's own files quote their texts
    plain.replace('"', "");
    if (plain.startsWith("year,section,top_column"))
        return QStringLiteral("This is a chronology saved by Stratalyser: open it with File > Join chronologies.");
    if (plain.contains("\nBoundaries,Level-1"))
        return QStringLiteral("This is a summary of counts saved by Stratalyser; it holds no XRF data to import.");
    if (problem == XrfFormatProblem::SemicolonSeparated)
        return QStringLiteral("Its fields are separated by semicolons; Stratalyser reads tables whose fields are "
                              "separated by tabs or commas. Please save the table again with commas.");
    if (problem == XrfFormatProblem::NoSpectrumName)
        return QStringLiteral("The file has a header but no data rows (no spectrum file name ending in \"spe\" "
                              "follows it). ") +
               table;
    return QStringLiteral("The file has no field \"filename\": it is neither an XRF scanner's result table nor "
                          "a working file. ") +
           table;
}

XrfContents readXrfFields(FieldReader& reader, FieldLayout layout) {
    XrfContents out;
    out.tabSeparated = layout.separator == '\t';
    auto& headers = out.headers;
    const auto noFilename = [] { return XrfFormatError(XrfFormatProblem::NoFilename, "no field \"filename\" before the header"); };

    // First field and preamble, up to "filename".
    try {
        headers[0] = text(reader.readField());
        bool found = false;
        for (int i = 1; i <= kMaxXrfHeaderIndex && !found; ++i) {
            const Variant field = reader.readField();
            headers[static_cast<std::size_t>(i)] = text(field);
            if (field == "varvecounting") out.workingFile = true;
            found = field == "filename";
        }
        if (!found) throw noFilename();
    } catch (const core::EndOfFileError&) {
        throw noFilename();
    }

    // Header, ended by the first spectrum file name. A working file's header is the one line the
    // program wrote: its first data field follows that line whatever it is called (a table placed
    // onto the radiograph's columns may begin with a measurement whose name does not end in "spe").
    int columns = 0;
    Variant firstName;
    try {
        bool headerLineEnded = out.workingFile && reader.lineEnded();
        for (int j = 1; j <= kMaxXrfHeaderIndex && columns == 0; ++j) {
            const Variant field = reader.readField();
            headers[static_cast<std::size_t>(j)] = text(field);
            if (endsInSpe(field) || headerLineEnded) {
                columns = j;
                firstName = field;
            }
            headerLineEnded = out.workingFile && reader.lineEnded();
        }
    } catch (const core::EndOfFileError&) {
        throw XrfFormatError(XrfFormatProblem::NoSpectrumName, "no spectrum file name (a field ending in \"spe\")");
    }
    if (columns == 0) throw XrfFormatError(XrfFormatProblem::NoSpectrumName, "no spectrum file name (a field ending in \"spe\")");
    if (columns > kMaxXrfFields) {
        throw XrfReadError(QStringLiteral("The rows of the XRF file have %1 fields; Stratalyser reads at most %2.")
                               .arg(columns)
                               .arg(kMaxXrfFields));
    }
    out.columnCount = columns;
    // A working file whose "varvecounting" line was lost (a spreadsheet dropped it) still ends its
    // header with the four columns the program writes: it is read as the count it is.
    constexpr int kCountColumns = 4;
    static const char* const kCountNames[kCountColumns] = {"greyscale", "year", "marker", "note"};
    bool countColumns = columns > kCountColumns;
    for (int k = 0; countColumns && k < kCountColumns; ++k)
        countColumns = headers[static_cast<std::size_t>(columns - kCountColumns + k)] == QLatin1String(kCountNames[k]);
    out.workingFile = out.workingFile || countColumns;

    // Data rows.
    core::VariantTable& data = out.data;
    data.set(1, 1, firstName);
    qsizetype rowStart = reader.position();
    int row = 1;
    int field = 2;
    try {
        for (;;) {
            for (; field <= columns; ++field) {
                Variant value = reader.readField();
                if (field == columns - 2 && row >= 2 && value.isString() && value.asString().startsWith('#')) {
                    out.yearsAsWritten[row] = value.asString();
                    value = Variant(value.asString().mid(1));
                }
                data.set(field, row, value);
                if (field < columns && reader.lineEnded()) {
                    if (reader.atEnd()) throw core::EndOfFileError();
                    throw XrfReadError(rowEndsEarly(row, field, columns));
                }
            }
            if (!reader.lineEnded()) {
                throw XrfReadError(
                    QStringLiteral("Data row %1 of the XRF file has more fields than its header names (%2).")
                        .arg(row)
                        .arg(columns));
            }
            if (reader.atEnd()) break;
            if (row == kMaxXrfRows) {
                throw XrfFormatError(XrfFormatProblem::TooManyRows, "more than " + std::to_string(kMaxXrfRows) + " data rows");
            }
            if (row == 2) {
                // Room for as many rows as the rest of the file holds at the second row's length.
                const qsizetype rowBytes = std::max<qsizetype>(1, reader.position() - rowStart);
                const qsizetype estimate = 2 + (reader.size() - reader.position()) / rowBytes * 51 / 50 + 16;
                data.reserve(columns, static_cast<long>(std::min<qsizetype>(kMaxXrfRows, estimate)));
            }
            ++row;
            field = 1;
            rowStart = reader.position();
        }
    } catch (const core::EndOfFileError&) {
        throw XrfReadError(QStringLiteral("The XRF file ends inside data row %1 (after field %2 of %3).")
                               .arg(row)
                               .arg(std::min(field, columns))
                               .arg(columns));
    }
    out.rowCount = row;
    return out;
}

void checkWorkingColumns(const XrfContents& contents) {
    // The scanner's fields (the spectrum's file name at least) and the four the program adds.
    constexpr int kWorkingColumns = 4;
    if (contents.columnCount <= kWorkingColumns) {
        throw XrfReadError(QStringLiteral("The working file has %1 columns, but a working file holds the XRF "
                                          "table's columns and four more (greyscale, year, marker and note). "
                                          "The file was not opened.")
                               .arg(contents.columnCount));
    }
    const int c = contents.columnCount - kWorkingColumns;
    for (int i = 1; i <= contents.rowCount; ++i) {
        const Variant year = contents.data(c + 2, i);
        const bool level = year.isNumeric() && year.toDouble() >= 1 && year.toDouble() <= 9 &&
                           year.toDouble() == std::trunc(year.toDouble());
        const auto damaged = [i](const char* column, const QString& asWritten) {
            return XrfReadError(QStringLiteral("Row %1 of the working file holds \"%2\" as its %3, which Stratalyser "
                                               "never writes there. The file was not opened.")
                                    .arg(i)
                                    .arg(asWritten, QString::fromLatin1(column)));
        };
        const auto written = contents.yearsAsWritten.find(i);
        if (!level && !(year == "---"))
            throw damaged("year", written != contents.yearsAsWritten.end() ? written->second : year.toString());
        for (int j : {c + 3, c + 4}) {
            const Variant v = contents.data(j, i);
            if (!v.isString() || !(v == "---" || v.asString().startsWith('#')))
                throw damaged(j == c + 3 ? "lamina label" : "note", v.toString());
        }
    }
}

core::CurveTable buildCurveTable(const core::VariantTable& data, const std::vector<QString>& headers, int columns,
                                 int dataLength, const core::Array<core::Integer>& greyProfile) {
    constexpr int kFirstCurveField = 9;
    const int curves = std::max(0, columns - (kFirstCurveField - 1));
    core::CurveTable profile;
    profile.redim(0, columns, 0, dataLength);
    profile.set(0, 0, Variant("Grey"));
    for (int k = 1; k <= curves; ++k) profile.set(k, 0, Variant(headers[static_cast<std::size_t>(k + 7)]));
    for (int i = 1; i <= dataLength; ++i) profile.set(0, i, Variant(greyProfile(i)));
    profile.link(&data, kFirstCurveField - 1, curves);
    return profile;
}

std::optional<long> scannerStepMicrons(const core::VariantTable& data, int rowCount) {
    float sum = 0;
    double previous = 0;
    int first = 0, last = 0;  // the first and last rows with a numeric position
    for (int i = 1; i <= rowCount; ++i) {
        const Variant v = data(2, i);
        if (!v.isNumeric()) continue;
        const double position = v.toDouble();
        if (first > 0) sum = static_cast<float>(static_cast<double>(sum) + (position - previous));
        if (first == 0) first = i;
        last = i;
        previous = position;
    }
    if (last == first) return std::nullopt;
    const float step = sum / static_cast<float>(last - first);
    // No scanner steps a kilometre: a step beyond that comes from damaged positions, and one beyond
    // what a whole number holds would not even convert.
    constexpr double kLongestStepMicrons = 1e9;
    const double microns = core::roundHalfEven(static_cast<double>(step) * 1000.0);
    if (!std::isfinite(microns) || std::abs(microns) > kLongestStepMicrons) return std::nullopt;
    return static_cast<long>(microns);
}

std::optional<TableStart> firstNumericPosition(const core::VariantTable& data, int rowCount) {
    for (int i = 1; i <= rowCount; ++i) {
        const Variant v = data(2, i);
        if (v.isNumeric() && std::isfinite(v.toDouble())) return TableStart{i, v.toDouble()};
    }
    return std::nullopt;
}

int nonNumericPositions(const core::VariantTable& data, int rowCount) {
    int n = 0;
    for (int i = 1; i <= rowCount; ++i) n += data(2, i).isNumeric() ? 0 : 1;
    return n;
}

}  // namespace files
