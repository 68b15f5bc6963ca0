#include <gtest/gtest.h>

#include <QFile>

#include "SynthCore.h"
#include "TestSupport.h"
#include "files/TextFile.h"
#include "files/XrfFile.h"

using core::Variant;
using files::readXrfTable;
using files::XrfContents;
using files::XrfFormatError;
using files::XrfReadError;

namespace {
XrfContents read(const QByteArray& bytes) {
    return readXrfTable(bytes);
}
XrfContents readReal(const char* name) {
    return readXrfTable(files::readFileBytes(testsupport::realData(QString::fromLatin1(name))));
}
// A small table: 2 preamble lines, header, rows of 10 fields.
QByteArray tinyTable(int rows, const QByteArray& sep = ",", const QByteArray& lineEnd = "\r\n") {
    QByteArray out = "\"scan\"" + lineEnd + "\"peakarea\"" + lineEnd + "\"filename\"";
    for (const char* name : {"position (mm)", "a", "validity", "b", "c", "d", "e", "kcps", "Fe"})
        out += sep + "\"" + name + "\"";
    out += lineEnd;
    for (int i = 1; i <= rows; ++i) {
        out += "\"L" + QByteArray::number(i) + ".spe\"" + sep + QByteArray::number(0.2 * i);
        for (int f = 3; f <= 10; ++f) out += sep + QByteArray::number(f * 100 + i);
        out += lineEnd;
    }
    return out;
}
}  // namespace

// The scanner's own tab file and its comma copy give the same table: same names, the same
// fields of the same types, 2251 rows, the spectrum names as the first field.
TEST(XrfFileTest, TheRealTabAndCommaFilesGiveTheSameTable) {
    const XrfContents tab = readReal("Results.txt");
    const XrfContents comma = readReal("Results.csv");
    EXPECT_EQ(files::detectXrfLayout(files::readFileBytes(testsupport::realData("Results.txt"))).separator, '\t');
    for (const XrfContents* x : {&tab, &comma}) {
        EXPECT_EQ(x->rowCount, 2251);
        EXPECT_EQ(x->columnCount, 55);
        EXPECT_FALSE(x->workingFile);
        EXPECT_EQ(x->headers[1], "position (mm)");
        EXPECT_EQ(x->headers[3], "validity");
        EXPECT_EQ(x->headers[8], "kcps");
        EXPECT_EQ(x->headers[54], "Mo coh");
        EXPECT_TRUE(x->headers[55].endsWith("L000000.spe"));
        EXPECT_TRUE(x->headers[0].endsWith("re-evaluated data"));
        EXPECT_TRUE(x->data.get(1, 2251).toString().endsWith("L002250.spe"));
        EXPECT_TRUE(x->data.get(4, 1) == 1);  // validity, kept as read
        EXPECT_EQ(x->data.get(4, 1).type(), Variant::Type::Integer);
        EXPECT_TRUE(x->data.get(55, 1) == 1093);  // "Mo coh" of the first row
        EXPECT_EQ(files::scannerStepMicrons(x->data, x->rowCount), 200);
    }
    EXPECT_EQ(tab.headers, comma.headers);
    for (long i = 1; i <= 2251; ++i) {
        for (long j = 1; j <= 55; ++j) {
            const Variant a = tab.data.get(j, i), b = comma.data.get(j, i);
            ASSERT_EQ(a.type(), b.type()) << j << "," << i;
            ASSERT_TRUE(a == b) << j << "," << i;
        }
    }
}

// The forms a scanner's file comes in: tabs with or without the tab that ends each line, CR LF or
// LF, no line end after the last row, a byte-order mark, decimal commas, a padded preamble.
TEST(XrfFileTest, EveryFormOfTheSameTableReadsAlike) {
    const XrfContents reference = read(tinyTable(4));
    QByteArray tabs = tinyTable(4, "\t");
    tabs.replace("\"", "");
    QByteArray trailingTabs = tabs;
    trailingTabs.replace("\r\n", "\t\r\n");
    trailingTabs.chop(2);  // no line end after the last row, but its tab
    QByteArray lf = tabs;
    lf.replace("\r\n", "\n");
    QByteArray decimalComma = trailingTabs;
    decimalComma.replace("\t0.2\t", "\t0,2\t");
    QByteArray bomPadded = "\xEF\xBB\xBF" + tinyTable(4);
    bomPadded.replace("\"scan\"\r\n\"peakarea\"\r\n", "scan,,,,,,\r\npeakarea,,,,,,\r\n");
    QByteArray spreadsheet = tinyTable(4);
    spreadsheet.replace("\"", "");  // texts without quotes
    const QString text = QString::fromUtf8(tabs);
    QByteArray unicodeText("\xFF\xFE");  // a spreadsheet's "Unicode text": UTF-16 with tabs
    unicodeText.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    for (const QByteArray& form : {tabs, trailingTabs, lf, decimalComma, bomPadded, spreadsheet, unicodeText}) {
        const XrfContents x = read(form);
        EXPECT_EQ(x.columnCount, 10) << form.left(60).toStdString();
        ASSERT_EQ(x.rowCount, 4) << form.toStdString();
        for (long i = 1; i <= 4; ++i) {
            for (long j = 1; j <= 10; ++j) {
                EXPECT_TRUE(x.data.get(j, i) == reference.data.get(j, i)) << j << "," << i;
                EXPECT_EQ(x.data.get(j, i).type(), reference.data.get(j, i).type()) << j << "," << i;
            }
        }
        for (int h = 1; h <= 9; ++h) EXPECT_EQ(x.headers[h], reference.headers[h]);
    }
}

TEST(XrfFileTest, FaultyFilesAreRefusedWithTheirReason) {
    struct Row {
        const char* what;
        QByteArray bytes;
        bool formatError;  // "Format error." rather than a reason of its own
        const char* reason;
    };
    QByteArray endsInsideRow = tinyTable(3);
    endsInsideRow.chop(12);
    QByteArray shortRow = tinyTable(3);
    shortRow.replace(",1002\r\n", "\r\n");  // row 2 lacks its last field
    QByteArray longRow = tinyTable(3);
    longRow.replace(",1002\r\n", ",1002,7\r\n");
    QByteArray noSpe = tinyTable(3);
    noSpe.replace(".spe", ".txt");
    QByteArray wide = "\"x\"\r\n\"filename\"";
    for (int f = 2; f <= 101; ++f) wide += ",\"c" + QByteArray::number(f) + "\"";
    wide += "\r\n\"L0.spe\"";
    for (int f = 2; f <= 101; ++f) wide += ",1";
    wide += "\r\n";
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) % 256);
    const Row rows[] = {
        {"empty", QByteArray(), true, ""},
        {"blank lines", "\r\n\r\n  \r\n", true, ""},
        {"binary", binary, true, ""},
        {"no filename", "\"a\",\"b\"\r\n1,2\r\n", true, ""},
        {"no spectrum name", noSpe, true, ""},
        {"ends inside a row", endsInsideRow, false, "ends inside data row 3"},
        {"short row", shortRow, false, "Data row 2 of the XRF file has 9 fields, but its header names 10"},
        {"long row", longRow, false, "Data row 2 of the XRF file has more fields than its header names (10)"},
        {"101 fields", wide, false, "have 101 fields; Stratalyser reads at most 100"},
    };
    for (const Row& row : rows) {
        if (row.formatError) {
            EXPECT_THROW(read(row.bytes), XrfFormatError) << row.what;
            continue;
        }
        try {
            read(row.bytes);
            ADD_FAILURE() << row.what << " was read";
        } catch (const XrfReadError& e) {
            EXPECT_TRUE(e.reason.contains(QString::fromLatin1(row.reason))) << row.what << ": " << e.reason.toStdString();
        }
    }
}

TEST(XrfFileTest, MoreThanTwentySixThousandRowsIsAFormatError) {
    const synth::VarvedCore fits = synth::makeVarvedCore(26000, 4);
    EXPECT_EQ(read(synth::makeXrfTable(fits, true, 16)).rowCount, 26000);
    const synth::VarvedCore tooLong = synth::makeVarvedCore(26001, 4);
    EXPECT_THROW(read(synth::makeXrfTable(tooLong, false, 16)), XrfFormatError);
}

// The synthetic core's table in both forms: the element columns carry the laminae, so Fe changes
// exactly where the radiograph's grey does.
TEST(XrfFileTest, TheSyntheticTableCarriesTheLaminaeInItsElements) {
    const synth::VarvedCore core = synth::makeVarvedCore(600, 8);
    const XrfContents tab = read(synth::makeXrfTable(core, true));
    const XrfContents comma = read(synth::makeXrfTable(core, false));
    ASSERT_EQ(tab.rowCount, 600);
    ASSERT_EQ(comma.rowCount, 600);
    EXPECT_EQ(tab.headers, comma.headers);
    const int fe = 24 + 1;  // "Fe" names field 25
    EXPECT_EQ(tab.headers[fe - 1], "Fe");
    for (int boundary : core.boundaries) {
        const long before = 600 - (boundary - 1), at = 600 - boundary;  // positions of the two columns
        const double jump = tab.data.get(fe, at).toDouble() - tab.data.get(fe, before).toDouble();
        EXPECT_GT(std::abs(jump), 2000) << boundary;
    }
    EXPECT_EQ(files::scannerStepMicrons(comma.data, 600), 200);
}

TEST(XrfFileTest, AHeaderNameEndingInSpeEndsTheHeaderEarly) {
    QByteArray bytes = tinyTable(2);
    bytes.replace("\"d\"", "\"xspe\"");  // field 7's name
    // The rest of the header would be read as the first row's data: it is refused, not misread.
    try {
        read(bytes);
        ADD_FAILURE() << "read";
    } catch (const XrfReadError& e) {
        EXPECT_TRUE(e.reason.startsWith("Data row 1 of the XRF file has 4 fields, but its header names 6"))
            << e.reason.toStdString();
    }
}

TEST(XrfFileTest, TheScannerStepNeedsTwoNumericPositions) {
    const XrfContents x = read(tinyTable(1));
    EXPECT_EQ(files::scannerStepMicrons(x.data, 1), std::nullopt);
    core::VariantTable t(0, 3, 0, 3);
    t(2, 1) = Variant(1.0);
    t(2, 2) = Variant("x");
    EXPECT_EQ(files::scannerStepMicrons(t, 2), std::nullopt);
}
