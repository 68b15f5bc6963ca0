#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/BoundedArray.h"
#include "core/CurveTable.h"
#include "core/Errors.h"
#include "core/VariantTable.h"
#include "files/FieldSyntax.h"

// The result table of an XRF core scanner, or a working file, read into memory.
//
//   first field   any text (the scanner writes the folder and the date)
//   preamble      further fields, up to and including the field "filename"
//   header        the column names after "filename"; it ends at the first field whose text ends
//                 in "spe", which is already the spectrum file name of the first data row
//   data rows     C fields each: the spectrum file name, the position in mm, then the values
//
// The scanner writes the table with tabs (a tab ending every line, CR LF or LF, often no line
// end after the last row); a spreadsheet or the program's own working file writes it with
// commas. Which one a file is, its header line tells: the separator after "filename". UTF-8 (with
// or without a byte-order mark) and UTF-16 with its mark are read alike.
namespace files {

inline constexpr int kMaxXrfHeaderIndex = 500;  // XrfHeaders(0..500)
inline constexpr int kMaxXrfFields = 100;       // XrfData fields 1..100
inline constexpr int kMaxXrfRows = 200000;      // XrfData rows 1..200000: a 4 m section at 20 µm steps

// "Format error.": no "filename", no spectrum file name, too many rows, or fields separated by
// semicolons.
enum class XrfFormatProblem { NoFilename, NoSpectrumName, TooManyRows, SemicolonSeparated };
struct XrfFormatError : core::RuntimeError {
    XrfFormatError(XrfFormatProblem problem, const std::string& what)
        : core::RuntimeError(core::kTypeMismatch, what), problem(problem) {}
    XrfFormatProblem problem;
};

// What the user is told after "Format error.": what the file is, as far as its first bytes `head`
// tell (empty, binary, separated by semicolons, a file of the program's own other than a working
// file), and what to do. `dataRows` is the count of lines after the header, for a table too long.
QString formatErrorReason(const QByteArray& head, XrfFormatProblem problem, qint64 dataRows);
// A table that cannot be read for another reason: the file ends inside a row, a row is too wide,
// the working file's own columns hold what the program never writes. `reason` is the sentence
// shown to the user.
struct XrfReadError : core::RuntimeError {
    explicit XrfReadError(const QString& why) : core::RuntimeError(core::kPastEndOfFile, why.toStdString()), reason(why) {}
    QString reason;
};

struct XrfContents {
    // XrfHeaders(0..500) as the reading leaves them: 0 = the first field, 1..C - 1 = the column
    // names after "filename", C = the first spectrum file name.
    std::vector<QString> headers = std::vector<QString>(kMaxXrfHeaderIndex + 1);
    int columnCount = 0;  // C, fields per data row (with the four of a working file)
    bool workingFile = false;
    bool tabSeparated = false;  // the scanner's own form, as its Results.txt
    int rowCount = 0;  // R
    // The year cells of rows 2..R that lost their leading '#' in the reading, as they stand in the
    // file (by row): a message quotes a cell as the user sees it.
    std::map<int, QString> yearsAsWritten;
    core::VariantTable data{0, kMaxXrfFields, 0, kMaxXrfRows};  // (field 1..C, row 1..R), as read
};

// Which separator the file uses, from its header line.
FieldLayout detectXrfLayout(const QByteArray& bytes);

// Reads the whole table. Throws XrfFormatError or XrfReadError.
XrfContents readXrfTable(QByteArray bytes);
// The same for the file at the path, read a block at a time (the file's text is never held
// whole). Also throws core::FileError for a file that cannot be read, as readFileBytes does.
XrfContents readXrfFile(const QString& path, qsizetype blockBytes = FieldReader::kStreamBlockBytes);

// A working file's own four columns (grey, year, marker, note) at the end of every row, checked:
// year a level 1..9 or "---", marker and note "---" or "#" + text. The first damaged cell is named
// in an XrfReadError.
void checkWorkingColumns(const XrfContents& contents);

// The curve table (Profile) of an imported table with `columns` fields per row (C, without the
// four of a working file) and `dataLength` rows: row 0 holds the names, "Grey" over column 0 and
// the column names of fields 9..C over columns 1..C - 8; column 0 holds the grey profile, column k
// field k + 8. Columns C - 7..C stay empty.
// The table is linked to `data` (its curve columns are data's fields 9..C), which must outlive it.
core::CurveTable buildCurveTable(const core::VariantTable& data, const std::vector<QString>& headers, int columns,
                                 int dataLength, const core::Array<core::Integer>& greyProfile);

// The scanner's step in micrometres from the numeric positions (field 2) of rows 1..R: the
// successive differences summed in single precision over the rows they span, times 1000, rounded
// half to even. Nothing when fewer than two positions are numbers.
std::optional<long> scannerStepMicrons(const core::VariantTable& data, int rowCount);
// The table's start: the first of rows 1..R whose position (field 2) is a finite number, and that
// position; nothing when none is.
struct TableStart {
    long row = 1;
    double mm = 0;
};
std::optional<TableStart> firstNumericPosition(const core::VariantTable& data, int rowCount);
// How many of rows 1..R have a position that is not a number.
int nonNumericPositions(const core::VariantTable& data, int rowCount);

}  // namespace files
