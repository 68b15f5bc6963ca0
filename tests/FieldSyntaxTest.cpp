#include <gtest/gtest.h>

#include <QBuffer>
#include <QStringList>
#include <memory>

#include "core/Errors.h"
#include "files/FieldSyntax.h"
#include "files/TextFile.h"
#include "TestSupport.h"

using core::Variant;
using files::FieldReader;
using files::FieldWriter;

namespace {
std::vector<Variant> readAll(const QByteArray& bytes) {
    FieldReader reader(bytes);
    std::vector<Variant> fields;
    while (!reader.atEnd()) fields.push_back(reader.readField());
    return fields;
}
}  // namespace

TEST(FieldWriter, NumbersAreLocaleFreeWholeWithoutPointFractionsShortest) {
    struct Case {
        Variant value;
        const char* text;
    };
    const Case cases[] = {
        {Variant(3.0), "3"}, {Variant(-0.0), "0"},
        {Variant(0.1f), "0.1"},  // the shortest text of the Single, not 0.100000001
        {Variant(0.1), "0.1"}, {Variant(1.0 / 3.0), "0.3333333333333333"},
        {Variant(120286.0f), "120286"}, {Variant(core::Long(-70000)), "-70000"},
        {Variant(9999.0f), "9999"}, {Variant(1e20), "1e+20"},
        {Variant(std::nan("")), ""},  // cannot be represented: an empty value
        {Variant(core::Date{2026, 12, 6}), "#2026-12-06#"}, {Variant(true), "#TRUE#"},
    };
    for (const Case& c : cases) EXPECT_EQ(FieldWriter::encode(c.value), QByteArray(c.text)) << c.text;
    FieldWriter w;
    w.writeLine({Variant("abc"), Variant(2.5), Variant(), Variant(core::Integer(3))});
    // The program never writes a double quote inside a text: it becomes a single quote, and the row
    // keeps its field count.
    w.writeLine({Variant("say \"hi\", then"), Variant("\"")});
    EXPECT_EQ(w.bytes(), QByteArray("\"abc\",2.5,,3\r\n\"say 'hi', then\",\"'\"\r\n"));
}

TEST(FieldSyntax, EveryValueKindRoundTrips) {
    const std::vector<Variant> values = {
        Variant("a, b"), Variant("line\r\nbreak"), Variant(0.30000000000000004), Variant(core::Integer(-5)),
        Variant(), Variant(core::Long(123456789)), Variant(1e-7), Variant(core::Date{1999, 1, 31}), Variant("---"),
        Variant("#abc"), Variant(""), Variant("Ünïcödé µm"), Variant(false)};
    FieldWriter w;
    w.writeLine(values);
    const std::vector<Variant> back = readAll(w.bytes());
    ASSERT_EQ(back.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_TRUE(back[i] == values[i]) << i << ": " << back[i].toString().toStdString();
        EXPECT_EQ(back[i].isString(), values[i].isString()) << i;
    }
}

// Fields as the reader finds them, each shown as [text], () for an empty value, or a number or
// date with its type's letter (Integer, Long, Double, Date): bare fields that read as numbers, and
// those that do not; empty values, lone LF and CR line ends, a blank line, the comma that promises
// one more field at the very end, final line ends that are no fields, a byte-order mark, quoted
// texts holding commas and line ends with junk after the closing quote, two quotes inside a
// text as one quote, and Latin-1 text. (Binary files through the readers are in the bad-input tables.)
TEST(FieldReader, FieldsLineEndsAndQuotes) {
    const auto shown = [](const QByteArray& bytes) {
        QStringList out;
        for (const Variant& v : readAll(bytes)) {
            if (v.isEmpty() || v.isString()) {
                out << (v.isEmpty() ? QStringLiteral("()") : "[" + v.toString() + "]");
            } else {
                out << v.toString() + QStringLiteral("?ilsdsbD").at(static_cast<int>(v.type()));
            }
        }
        return out.join(' ');
    };
    const std::pair<QByteArray, QString> rows[] = {
        {"12,-3.5, 7 ,1e3,40000,3000000000,abc,1.2.3,inf,nan,#2020-02-29#,#junk#,+4\r\n",
         "12i -3.5d 7i 1000d 40000l 3000000000d [abc] [1.2.3] [inf] [nan] 2020-02-29D [#junk#] 4i"},
        {"1,,3\n\"x\",\r4\r\n\r\n5,", "1i () 3i [x] () 4i () 5i ()"},
        {"1,2\r\n\r\n  \r\n", "1i 2i"},
        {"\xEF\xBB\xBF\"x\"", "[x]"},
        {"\"a,b\r\nc\"junk,\"d\"  \r\n\"\"", "[a,b\r\nc] [d] []"},
        {"\"#a \"\"thick\"\" one\",1\r\n\"\"\"\",\"\",\"end\"\"\"\r\n", "[#a \"thick\" one] 1i [\"] [] [end\"]"},
        {"\"Gr\xfc\xdf" "e\",\"caf\xc3\xa9\"", "[Grüße] [café]"},  // text that is no UTF-8 reads as Latin-1
    };
    for (const auto& [bytes, fields] : rows) EXPECT_EQ(shown(bytes), fields) << bytes.toStdString();
    FieldReader r("5,");
    r.readField();
    EXPECT_FALSE(r.atEnd());
    EXPECT_TRUE(r.readField().isEmpty() && r.atEnd());
    EXPECT_THROW(r.readField(), core::EndOfFileError);
    EXPECT_THROW(FieldReader("").readField(), core::EndOfFileError);
    EXPECT_THROW(FieldReader("\"never closed, 1, 2").readField(), core::EndOfFileError);
}

TEST(FieldReader, LongRunsOfLineEndsArePassedOverOnce) {
    // Two megabytes of blank lines between two values: every blank line is an empty field. Each
    // field used to rescan the rest of the run, which took hours for a run this long.
    const int blankLines = 1 << 20;
    QByteArray bytes = "1,";
    bytes.append(QByteArray("\r\n").repeated(blankLines));
    bytes.append("2\r\n");
    bytes.append(QByteArray("\n").repeated(blankLines));  // and a long tail after the last field
    const std::vector<Variant> f = readAll(bytes);
    ASSERT_EQ(f.size(), static_cast<std::size_t>(blankLines) + 2);
    EXPECT_TRUE(f.front() == 1 && f.back() == 2);
}

// A buffer that is not NUL-terminated, ending in a comma: the promised last field is empty and
// nothing after the data is touched (the address sanitizer watches the heap block).
TEST(FieldReader, NeverReadsPastTheLastByte) {
    const auto exact = std::make_unique<char[]>(2);
    exact[0] = '1';
    exact[1] = ',';
    FieldReader r(QByteArray::fromRawData(exact.get(), 2));
    EXPECT_TRUE(r.readField() == 1);
    EXPECT_TRUE(r.readField().isEmpty() && r.atEnd());
}

// Found by fuzzing the field reader: a plain number of more digits than a long long holds was
// summed past its range before the reader gave it to the general number parser. Now every length
// reads as the number it is, and no sum overflows.
TEST(FieldSyntax, NumbersOfManyDigitsReadWithoutOverflow) {
    const QByteArray digits19 = "1067444444444444444";
    const QByteArray digits40(40, '9');
    files::FieldReader reader(digits19 + "4," + digits40 + ",-" + digits40 +
                              ".5,123456789012345,1234567890123456\r\n");
    EXPECT_DOUBLE_EQ(reader.readField().toDouble(), 1.0674444444444444444e19);
    EXPECT_DOUBLE_EQ(reader.readField().toDouble(), 1e40);
    EXPECT_DOUBLE_EQ(reader.readField().toDouble(), -1e40);
    EXPECT_DOUBLE_EQ(reader.readField().toDouble(), 123456789012345.0);   // 15 digits: the quick path
    EXPECT_DOUBLE_EQ(reader.readField().toDouble(), 1234567890123456.0);  // 16: the general parser
}

namespace {
// Every step of a reader: each field with its type, the line ends and positions, atEnd, and the
// end of the data (or an unterminated text) as "<end>".
std::string trace(FieldReader& reader) {
    QStringList steps;
    try {
        for (int i = 0; i < 100000; ++i) {
            const bool end = reader.atEnd();
            const Variant v = reader.readField();
            steps << QStringLiteral("%1 %2:%3 %4 @%5")
                         .arg(end)
                         .arg(static_cast<int>(v.type()))
                         .arg(v.toString())
                         .arg(reader.lineEnded())
                         .arg(reader.position());
        }
    } catch (const core::EndOfFileError&) {
        steps << QStringLiteral("<end> @%1").arg(reader.position());
    }
    return steps.join('\n').toStdString();
}
}  // namespace

// A table read from its file a block at a time reads exactly as its whole bytes do, whatever
// falls on the edge of a block: a line end cut between CR and LF, a long quoted text, a run of
// blank lines, the scanner's trailing tab, a byte-order mark.
TEST(FieldReader, ReadingBlockByBlockGivesTheFieldsOfTheWholeBytes) {
    QList<QByteArray> inputs = {
        "a,b\r\n1,2\r\n",
        "\xEF\xBB\xBF\"x\",1.5\r\n\r\n\r\n",
        "1,\r\n\r\n,2,\r\n",
        "\"a long text\r\nover two lines, with \"\"quotes\"\"\",3\n\n4\r",
        "\"unterminated,1,2\r\n",
        "1\t2\t\r\n3\t4\t\r\n\r\n",
        "  1 ,\t2  \r  3,-4.25,1e3,12345678901234567,#2020-01-02#,x\"y\r\n   \r\n",
        "1,2" + QByteArray("\r\n").repeated(300) + "3,4\r\n" + QByteArray(" \r\n").repeated(50),
        "1\t\t\t",
        "",
    };
    inputs << files::readFileBytes(testsupport::testData("YAN8A1_200um/Results.txt")).left(6000);
    const files::FieldLayout layouts[] = {files::FieldLayout::comma(), files::FieldLayout::tab(true),
                                          files::FieldLayout::tab(false)};
    for (const QByteArray& bytes : inputs) {
        for (const files::FieldLayout layout : layouts) {
            FieldReader whole(bytes, layout);
            const std::string expected = trace(whole);
            for (const qsizetype block : {1, 2, 3, 5, 64}) {
                QBuffer device;
                device.setData(bytes);
                device.open(QIODevice::ReadOnly);
                const QByteArray first = device.read(std::max<qsizetype>(block, 3));
                FieldReader streamed(first, device, bytes.size(), layout, 1 << 20, block);
                EXPECT_EQ(trace(streamed), expected)
                    << "block " << block << ", separator " << int(layout.separator) << ": " << bytes.left(60).data();
            }
        }
    }
}
