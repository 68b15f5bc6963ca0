// Every file the program reads meets bad input through the user's own path (the import buttons,
// the menus, the start-up) with a clear outcome: either it opens, or one message says why and the
// program is exactly as it was, ready for another try. One table per reader.

#include <QRegularExpression>
#include <QtEndian>
#include <sys/stat.h>

#include "AppFixture.h"

using app::curveWindow;
using ui::ScriptedDialogs;

namespace {

constexpr int kCoreWidth = 300;
constexpr int kXrfFields = 55;  // the synthetic scanner table's fields per row

const QString kCannotReadImage = QStringLiteral(
    "Stratalyser can only read image files in bitmap (.bmp), jpeg (.jpg), PNG (.png) or TIFF (.tif, 8 or 16 "
    "bits per channel) format. Please convert the image file using graphic software.");
const char* const kGuidance = "Stratalyser formatting guidance";

// What a row expects: the start of the one message shown, and its title; no message = it opens.
// A TIFF of two pages: the synthetic core's page, its directory copied to the file's end and chained.
QByteArray twoPageTiff() {
    QByteArray tiff = samples::pictureBytes(synth::makeVarvedCore(300, 40).radiograph.convertToFormat(QImage::Format_Grayscale8), "tiff");
    const auto directory = qFromLittleEndian<quint32>(tiff.constData() + 4);
    const int entries = qFromLittleEndian<quint16>(tiff.constData() + directory);
    const QByteArray copy = tiff.mid(directory, 2 + 12 * entries + 4);
    tiff.append(tiff.size() % 2, '\0');  // a directory starts on a word boundary
    qToLittleEndian<quint32>(static_cast<quint32>(tiff.size()), tiff.data() + directory + 2 + 12 * entries);
    return tiff + copy;
}

struct Outcome {
    QString message, title;
    Outcome(const QString& message = {}, const char* title = "") : message(message), title(title) {}
    bool opens() const { return message.isEmpty(); }
};
const Outcome kOpens;
// One file of a table: what it is, where it lies, what opening it must give.
struct FileRow {
    const char* what;
    QString path;
    Outcome outcome;
};

QList<QByteArray> tableLines(const QByteArray& table) {
    QList<QByteArray> lines = table.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}
QByteArray joined(const QList<QByteArray>& lines, const QByteArray& lineEnd) {
    return lines.join(lineEnd) + lineEnd;
}

// The comma table made a working file: "varvecounting" in the preamble and four more columns, with
// row `row`'s year or lamina label field written as `text` and every other one as "---".
enum class Field { Year, Label };
QByteArray workingFile(const QByteArray& commaTable, Field field = Field::Label, int row = 0,
                       const char* text = "") {
    QList<QByteArray> lines = tableLines(commaTable);
    const qsizetype header = lines.size() - 1 - kCoreWidth;
    QList<QByteArray> out = lines.mid(0, header);
    out.insert(1, "\"varvecounting\"");
    out += lines[header] + ",\"greyscale\",\"year\",\"marker\",\"note\"";
    for (int p = 1; p <= kCoreWidth; ++p) {
        const QByteArray year = p == row && field == Field::Year ? text : "\"---\"";
        const QByteArray label = p == row && field == Field::Label ? text : "\"---\"";
        out += lines[header + p] + ",1," + year + "," + label + ",\"---\"";
    }
    return joined(out, "\r\n");
}

constexpr qint64 kHugeFileBytes = 3ll * 1024 * 1024 * 1024;

}  // namespace

class BadInputTest : public AppTest {
  protected:
    // A file of these bytes, named by a count and the given extension.
    QString write(const char* extension, const QByteArray& bytes) {
        return writeFile(dir.filePath(QString::number(++written) + QLatin1String(extension)), bytes);
    }
    int written = 0;
    // A file far larger than any the program reads, without writing its bytes.
    QString writeSparse(const QString& name, qint64 size) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
        return path;
    }
    // What the user sees of the document and the commands offered: a refused file changes none of it.
    static QStringList programState() {
        app::MainForm& main = app::frmMain.get();
        QStringList state;
        for (const bool b :
             {app::XrfLoaded, app::RadiographImported, app::Profile.isAllocated(), main.importRadiographButton->isEnabled(),
              main.importXrfButton->isEnabled(), main.mnuOpenXRF->Enabled(), main.saveAsButton->isEnabled(),
              main.mnuSummary->Enabled(), main.progressBar->isVisible(), app::curveWindow(2).isVisible()})
            state << QString::number(b);
        for (const double n :
             {double(app::XrfColumnCount), double(app::DataLength), double(app::curveWindow(2).elementList->ListCount()),
              double(main.radiographPicture->surface().widthPixels()), app::frmPreview->bandLines(1)->Y1()})
            state << QString::number(n);
        return state << app::XrfHeaders(0) << app::WorkingFileName << main.saveAsButton->Caption()
                     << app::XrfData.get(1, 1).toString();
    }
    // A named pipe (FIFO): opening it would wait for a writer for ever.
    QString pipe() const {
        const QString path = dir.filePath(QStringLiteral("pipe"));
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        return path;
    }
    // The refusal of a file that cannot be read at all.
    static Outcome cannotRead(const QString& path, const char* why) {
        return Outcome("The file " + QDir::toNativeSeparators(path) + " cannot be read (" + why,
                       "Stratalyser");
    }
    // One message with the expected start, title and icon; or none at all.
    void expectOutcome(const Outcome& expected, const char* what) {
        const auto messages = dialogs->shownOf(ScriptedDialogs::Kind::Message);
        ASSERT_EQ(messages.size(), expected.opens() ? 0u : 1u)
            << what << ": " << (messages.empty() ? "" : messages[0].text.toStdString());
        if (expected.opens()) return;
        EXPECT_TRUE(messages[0].text.startsWith(expected.message))
            << what << ": " << messages[0].text.toStdString();
        EXPECT_EQ(messages[0].title, expected.title) << what;
        EXPECT_EQ(messages[0].icon, ui::MessageIcon::Exclamation) << what;
    }
};

// XRF tables and working files through the import button, with the synthetic core's radiograph
// (300 columns) open. A table that opens fills the curve windows; one that does not leaves no
// trace of itself and the button ready.
TEST_F(BadInputTest, XrfTablesAndWorkingFiles) {
    const synth::VarvedCore core = synth::makeVarvedCore(kCoreWidth, 60);
    const QString radiograph = dir.filePath("core.bmp");
    ASSERT_TRUE(core.radiograph.convertToFormat(QImage::Format_RGB888).save(radiograph, "BMP"));
    const QByteArray tabs = synth::makeXrfTable(core, true);
    const QByteArray commas = synth::makeXrfTable(core, false);
    const QList<QByteArray> commaLines = tableLines(commas), tabLines = tableLines(tabs);
    QList<QByteArray> longLastRow = tabLines;
    longLastRow.last() += "7\t";

    const qsizetype header = commaLines.size() - 1 - kCoreWidth;
    QList<QByteArray> shortRow = commaLines, longRow = commaLines, speInHeader = commaLines;
    shortRow[header + 5].truncate(shortRow[header + 5].lastIndexOf(','));
    longRow[header + 5] += ",7";
    speInHeader[header].replace("\"kcps\"", "\"kcpspe\"");  // ends the header early: refused, not misread
    const QByteArray tooManyRows = synth::makeXrfTable(synth::makeVarvedCore(200001, 4), false, 16);
    const char* const quotedLabel = "\"#a \"\"thick\"\" one, dark; \xC3\xBC\"";
    const auto formatError = [](const char* why) { return Outcome(QStringLiteral("Format error. ") + why, "Error"); };
    const char* const notText = "The file is not a text table (it holds binary data).";
    const char* const noData = "The file has a header but no data rows";
    const QRegularExpression decimalPoint(QStringLiteral("(\\d)\\.(\\d)"));
    const auto rowHolds = [](int row, const char* text, const char* field) {
        return Outcome(QStringLiteral("Row %1 of the working file holds %2 as its %3")
                           .arg(row)
                           .arg(QString::fromUtf8(text), QString::fromUtf8(field)),
                       kGuidance);
    };
    const FileRow rows[] = {
        {"the scanner's own tab form", write(".txt", tabs), kOpens},
        {"the comma form after a UTF-8 byte-order mark", write(".csv", "\xEF\xBB\xBF" + commas), kOpens},
        {"a spreadsheet's Unicode text", write(".txt", samples::unicodeText(commas)), kOpens},
        {"line feeds only", write(".csv", joined(commaLines, "\n")), kOpens},
        {"carriage returns only", write(".csv", joined(commaLines, "\r")), kOpens},
        {"the tab form ended by carriage returns only", write(".txt", joined(tabLines, "\r")), kOpens},
        {"texts without quotes", write(".csv", QByteArray(commas).replace("\"", "")), kOpens},
        {"decimal commas",
         write(".txt", QString::fromLatin1(tabs).replace(decimalPoint, "\\1,\\2").toLatin1()), kOpens},
        {"a preamble padded with commas",
         write(".csv", QByteArray(commas).replace("data\"\r\n\"peakarea\"\r\n",
                                                  "data\",,,,\r\n\"peakarea\",,,,\r\n")),
         kOpens},
        {"quotes, a comma and non-ASCII in a label",
         write(".csv", workingFile(commas, Field::Label, 7, quotedLabel)), kOpens},
        {"empty", write(".csv", QByteArray()), formatError("The file is empty.")},
        {"binary", write(".csv", samples::noise(3000)), formatError(notText)},
        {"no \"filename\" field", write(".csv", "\"a\",\"b\"\r\n"), formatError("The file has no field \"filename\"")},
        {"a picture named .csv", write(".csv", samples::jpegDeclaring(16, 16)), formatError(notText)},
        {"a header with no data", write(".csv", joined(commaLines.mid(0, header + 1), "\r\n")), formatError(noData)},
        {"200001 rows", write(".csv", tooManyRows),
         formatError("The table has 200001 data rows; Stratalyser reads at most 200000 rows")},
        {"fields separated by semicolons", write(".csv", QByteArray(commas).replace(',', ';')),
         formatError("Its fields are separated by semicolons")},
        {"the program's chronology", write(".csv", "\"year\",\"section\",\"top_column\",\"bottom_column\"\r\n1,\"A\",3,9\r\n"),
         formatError("This is a chronology saved by Stratalyser: open it with File > Join chronologies.")},
        {"cut inside the last row", write(".txt", tabs.chopped(20)),
         Outcome("The XRF file ends inside data row 300", kGuidance)},
        {"a row without its last field", write(".csv", joined(shortRow, "\r\n")),
         Outcome("Data row 5 of the XRF file has 54 fields, but its header names 55.", kGuidance)},
        {"a row with a field too many", write(".csv", joined(longRow, "\r\n")),
         Outcome("Data row 5 of the XRF file has more fields than its header names (55)", kGuidance)},
        {"the tab form's last row with a field too many", write(".txt", joined(longLastRow, "\r\n")),
         Outcome("Data row 300 of the XRF file has more fields than its header names (55)", kGuidance)},
        {"a header name ending in spe", write(".csv", joined(speInHeader, "\r\n")),
         Outcome("Data row 1 of the XRF file has more fields than its header names (8).", kGuidance)},
        {"no spectrum names", write(".csv", QByteArray(commas).replace(".spe", ".txt")), formatError(noData)},
        {"101 fields a row", write(".csv", synth::makeXrfTable(core, false, 101)),
         Outcome("The rows of the XRF file have 101 fields; Stratalyser reads at most 100.", kGuidance)},
        {"one row short of the radiograph",
         write(".csv", joined(commaLines.mid(0, commaLines.size() - 1), "\r\n")),
         Outcome(
             "The XRF data length (299 measurements) does not match with the Radiograph width (300 pixels).",
             kGuidance)},
        {"a year the program never writes", write(".csv", workingFile(commas, Field::Year, 1, "\"x\"")),
         rowHolds(1, "\"x\"", "year")},
        {"a level beyond 9", write(".csv", workingFile(commas, Field::Year, 4, "12")),
         rowHolds(4, "\"12\"", "year")},
        // The year field of the first data row keeps a leading # that later rows lose.
        {"\"#x\" as a later row's year, quoted as it stands", write(".csv", workingFile(commas, Field::Year, 5, "\"#x\"")),
         rowHolds(5, "\"#x\"", "year")},
        {"\"#---\" as a later row's year", write(".csv", workingFile(commas, Field::Year, 5, "\"#---\"")),
         kOpens},
        {"\"#---\" as the first row's year", write(".csv", workingFile(commas, Field::Year, 1, "\"#---\"")),
         rowHolds(1, "\"#---\"", "year")},
        {"a working file of three columns",
         write(".csv", "\"scan\"\r\n\"varvecounting\"\r\n\"filename\",\"year\",\"marker\"\r\n" +
                           QByteArray("\"L.spe\",\"---\",\"---\"\r\n").repeated(kCoreWidth)),
         Outcome("The working file has 3 columns, but a working file holds", kGuidance)},
        {"a label not starting with #", write(".csv", workingFile(commas, Field::Label, 3, "\"dark\"")),
         rowHolds(3, "\"dark\"", "lamina label")},
        {"a working file without its \"varvecounting\" line",
         write(".csv", workingFile(commas, Field::Label, 3, "\"#T\"").replace("\"varvecounting\"\r\n", "")), kOpens},
        {"a folder", dir.path(), cannotRead(dir.path(), "it is a folder).")},
        {"a pipe", pipe(), cannotRead(pipe(), "it is not a regular file (a pipe, a device or a socket)).")},
        {"a missing file", dir.filePath("gone.csv"),
         cannotRead(dir.filePath("gone.csv"), "it does not exist).")},
        {"3 GB", writeSparse("huge.csv", kHugeFileBytes),
         cannotRead(dir.filePath("huge.csv"), "it is far larger than an XRF table can be).")},
        {"a cancelled dialog", QString(), kOpens},
    };
    QStringList tabCells;
    for (const FileRow& row : rows) {
        restart();
        app::MainForm& main = openRadiograph(radiograph);
        ASSERT_EQ(app::DataLength, kCoreWidth);
        const QStringList before = programState();
        dialogs->clearRecord();
        row.path.isEmpty() ? dialogs->cancelFile() : dialogs->answerOpen(row.path);  // no path: cancelled
        main.importXrfButton->click();
        expectOutcome(row.outcome, row.what);
        if (!row.outcome.opens() || row.path.isEmpty()) {
            EXPECT_EQ(programState(), before) << row.what;
            // The tools of the curve windows are enabled by the command even so: they need the radiograph only.
            EXPECT_TRUE(main.mnuElastic->Enabled() && main.mnuScale->Enabled() && main.windowFrame->isEnabled()) << row.what;
            continue;
        }
        EXPECT_EQ(app::XrfColumnCount, kXrfFields) << row.what;
        EXPECT_TRUE(curveWindow(2).isVisible() && curveWindow(2).elementList->ListCount() == kXrfFields - 7) << row.what;
        EXPECT_FALSE(main.importXrfButton->isEnabled()) << row.what;  // not offered again, not even by the menu
        main.mnuOpenXRF->trigger();
        EXPECT_EQ(app::WorkingFileName, row.path) << row.what;
        // The table as read, cell for cell and type for type, is the same whatever form it came in.
        QStringList cells;
        for (int h = 0; h < kXrfFields; ++h) cells << app::XrfHeaders(h);
        for (long i = 1; i <= kCoreWidth; ++i) {
            for (long j = 1; j <= kXrfFields; ++j)
                cells << app::XrfData.get(j, i).toString() +
                             QChar('0' + static_cast<int>(app::XrfData.get(j, i).type()));
        }
        if (tabCells.isEmpty()) tabCells = cells;  // the scanner's own tab form comes first
        const auto [got, want] = std::mismatch(cells.begin(), cells.end(), tabCells.begin(), tabCells.end());
        EXPECT_TRUE(got == cells.end() && want == tabCells.end())
            << row.what << ": cell " << (got - cells.begin()) << " "
            << (got != cells.end() && want != tabCells.end() ? (*got + " instead of " + *want).toStdString()
                                                             : "");
        if (row.what[0] == 'q') { EXPECT_EQ(app::MarkerLabel(7), QStringLiteral("#a \"thick\" one, dark; ü")); }
    }
    app::frmMain->mnuElastic->trigger();  // after the cancelled dialog, with the radiograph alone
    app::frmMain->mnuScale->trigger();
    for (ui::MenuItem* m : {app::frmMain->mnuShowAll, app::frmMain->mnuAlign, app::frmMain->mnuActive}) m->trigger();
    EXPECT_TRUE(app::frmElastic->isVisible() && app::frmScale->isVisible() && app::frm1m->isVisible());
}

// Radiographs through the import button and the menu. A picture that cannot be used leaves the
// main window at its design size, the band where it was and the button ready; the good file then
// imports.
TEST_F(BadInputTest, Radiographs) {
    const QByteArray jpg = files::readFileBytes(testsupport::realData("radiograph.jpg"));
    const QByteArray bmp = files::readFileBytes(testsupport::realData("radiograph.bmp"));
    const QByteArray tif16 = files::readFileBytes(testsupport::realData("radiograph.tif"));
    const QByteArray progressive =
        samples::pictureBytes(synth::makeVarvedCore(300, 40).radiograph, "jpeg", true);
    QImage wide(200001, 2, QImage::Format_Grayscale8);
    wide.fill(100);
    ASSERT_TRUE(wide.save(dir.filePath("wide.bmp"), "BMP"));
    const Outcome unreadable = Outcome(kCannotReadImage, kGuidance);
    const auto incomplete = [](const char* size) {
        return Outcome(QStringLiteral("The image file is incomplete: its header declares %1 pixels").arg(size), kGuidance);
    };
    const auto damaged = [](const char* kind) {
        return Outcome(QStringLiteral("The image file is damaged or incomplete: it is a %1 file").arg(kind), kGuidance);
    };
    const auto declares = [](const char* size) { return Outcome("The image declares " + QString(size), kGuidance); };
    QImage floats(16, 4, QImage::Format_RGBA32FPx4);
    floats.fill(Qt::gray);
    const FileRow rows[] = {
        {"a TIFF of floating-point samples", write(".tif", samples::pictureBytes(floats, "tiff")),
         Outcome("The TIFF file's samples are floating-point numbers, which Stratalyser does not read.", kGuidance)},
        {"0 bytes", write(".bmp", QByteArray()), unreadable},
        {"binary", write(".jpg", samples::noise(5000)), unreadable},
        {"a bitmap of noise", write(".bmp", "BM" + samples::noise(5000)), unreadable},
        {"an XRF table named .jpg", write(".jpg", "filename\tposition (mm)\t\r\nL1.spe\t0.2\t\r\n"),
         unreadable},
        {"a JPEG cut inside its header", write(".jpg", QByteArray("\xFF\xD8\xFF\xE0 cut", 8)), unreadable},
        {"the real JPEG cut at two thirds", write(".jpg", jpg.left(jpg.size() * 2 / 3)),
         incomplete("2251 x 84")},
        {"the real JPEG without its end marker", write(".jpg", jpg.left(jpg.size() - 2)),
         incomplete("2251 x 84")},
        {"the real bitmap cut in half", write(".bmp", bmp.left(bmp.size() / 2)), incomplete("2251 x 84")},
        {"the real bitmap short of its last pixel byte", write(".bmp", bmp.left(bmp.size() - 4)),
         incomplete("2251 x 84")},
        {"a progressive JPEG cut short", write(".jpg", progressive.chopped(200)), incomplete("300 x 40")},
        {"the real 16-bit TIFF cut at half", write(".tif", tif16.left(tif16.size() / 2)), damaged("TIFF")},
        {"a PNG cut", write(".png", samples::pictureBytes(QImage(16, 16, QImage::Format_RGB32), "png").chopped(40)),
         damaged("PNG")},
        {"a 55-byte bitmap declaring 4 x 33554434",
         write(".bmp", samples::hostile("bitmap-4x33554434-55-bytes.bmp")), incomplete("4 x 33554434")},
        {"a run-length bitmap far too short", write(".bmp", samples::hostile("bitmap-rle-20000x5000-cut.bmp")),
         incomplete("20000 x 5000")},
        {"a grey JPEG past the reader's limit", write(".jpg", samples::jpegDeclaring(60000, 20000, false)),
         declares("60000 x 20000")},  // the reader counts 4 bytes a pixel for grey as well
        {"a bitmap of 7 bits a pixel", write(".bmp", QByteArray(bmp).replace(28, 1, "\x07")), damaged("bitmap")},
        {"a bitmap declaring 30000 x 30000",  // within the memory a wide core may take, but without its pixels
         write(".bmp", samples::hostile("bitmap-30000x30000-headers-only.bmp")), incomplete("30000 x 30000")},
        {"a bitmap declaring 2^31 - 1 rows",
         write(".bmp", samples::hostile("bitmap-30000x2147483647-top-down.bmp")),
         declares("30000 x 2147483647")},
        {"a JPEG declaring 65535 x 16385 pixels", write(".jpg", samples::jpegDeclaring(65535, 16385)),
         Outcome("The image declares 65535 x 16385 pixels, which would need 4097 MB", kGuidance)},
        {"a progressive JPEG declaring 65535 x 16385",
         write(".jpg", samples::jpegDeclaring(65535, 16385, true, true)), declares("65535 x 16385")},
        {"a TIFF declaring 20000 x 60000 pixels", write(".tif", samples::hostile("tiff-20000x60000-one-byte.tif")),
         declares("20000 x 60000")},
        {"200001 pixels wide", dir.filePath("wide.bmp"),
         Outcome("The radiograph is 200001 pixels wide.", kGuidance)},
        {"a folder", dir.path(), unreadable},
        {"a pipe", pipe(), Outcome("Not a regular file: " + pipe() + ". Please choose the image file itself.", kGuidance)},
        {"a cancelled dialog", QString(), unreadable},  // the import's one error path
    };
    app::MainForm& main = start();
    const QStringList before = programState();
    bool byMenu = false;
    for (const FileRow& row : rows) {
        dialogs->clearRecord();
        row.path.isEmpty() ? dialogs->cancelFile() : dialogs->answerOpen(row.path);  // no path: cancelled
        byMenu ? main.mnuOpenRadio->trigger() : main.importRadiographButton->click();
        byMenu = !byMenu;
        expectOutcome(row.outcome, row.what);
        EXPECT_EQ(programState(), before) << row.what;
    }
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::OpenFile)
                    .at(0)
                    .filter.startsWith("All (*.*)|*.*|Images (*.bmp *.jpg *.jpeg *.png *.tif *.tiff)"));
    // Pictures that open, each in a fresh program.
    for (const QByteArray& picture :
         {progressive, bmp.left(bmp.size() - 3)}) {  // the padding of the last row cut
        restart();
        openRadiograph(write(picture.startsWith("BM") ? ".bmp" : ".jpg", picture));
        EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
        EXPECT_TRUE(app::RadiographImported && app::frmMain->importXrfButton->isEnabled());
    }
    // A TIFF of two pages opens its first, and says so.
    restart();
    openRadiograph(write(".tif", twoPageTiff()));
    EXPECT_TRUE(app::RadiographImported && onlyMessage().contains("holds 2 pictures (pages); Stratalyser shows its first"));
}

// Core photos over the real core with its own photo open: a photo that cannot be used is named
// with its reason, and the photo shown, its window and its close-up stay as they were.
TEST_F(BadInputTest, Photos) {
    importRealCore();
    dialogs->answerOpen(testsupport::realData("optical.tif"));
    app::frmMain->importPhotoButton->click();
    app::frmPhoto->mnuCrop->trigger();
    ASSERT_TRUE(app::CropOpen);
    const QImage cropBefore = app::frmCrop->stripBuffer->Image();
    const QByteArray tif = files::readFileBytes(testsupport::realData("optical.tif"));
    const QByteArray jpg = files::readFileBytes(testsupport::realData("optical.jpg"));
    // A photo of these bytes, refused with the message naming it and going on with `rest`.
    const auto photoRow = [this](const char* what, const char* extension, const QByteArray& bytes,
                                 const char* rest) {
        const QString path = write(extension, bytes);
        return FileRow{
            what, path,
            Outcome("The photo " + QDir::toNativeSeparators(path) + rest, "Message from Stratalyser")};
    };
    const char* const cannotOpen = " cannot be opened.";
    const FileRow rows[] = {
        photoRow("0 bytes", ".jpg", QByteArray(), cannotOpen),
        photoRow("binary", ".png", samples::noise(5000), cannotOpen),
        // The scanner's TIFF keeps its directory at the end: cut, it has no header left.
        photoRow("the real TIFF cut", ".tif", tif.left(5000), " is damaged or incomplete: it is a TIFF file"),
        photoRow("the real JPEG cut", ".jpg", jpg.left(jpg.size() / 2), " is incomplete"),
        photoRow("a PNG cut", ".png",
                 samples::pictureBytes(QImage(16, 16, QImage::Format_RGB32), "png").chopped(40), " is damaged"),
        photoRow("a TIFF with its directory first, cut in its pixels", ".tif",
                 samples::hostile("tiff-300x200-directory-first-cut.tif"), " is damaged"),
        photoRow("a JPEG declaring 65535 x 16385 pixels", ".jpg", samples::jpegDeclaring(65535, 16385),
                 " declares 65535 x 16385 pixels, which would need 4097 MB"),
        photoRow("a bitmap declaring 2^31 - 1 rows", ".bmp",
                 samples::hostile("bitmap-30000x2147483647-top-down.bmp"), " declares 30000 x 2147483647"),
        photoRow("a TIFF declaring 20000 x 60000 pixels", ".tif", samples::hostile("tiff-20000x60000-one-byte.tif"),
                 " declares 20000 x 60000"),
        {"a folder", dir.path(),
         Outcome("The photo " + QDir::toNativeSeparators(dir.path()), "Message from Stratalyser")},
        {"a pipe", pipe(), Outcome("The photo " + pipe() + " is not a regular file", "Message from Stratalyser")},
    };
    for (const FileRow& row : rows) {
        dialogs->clearRecord();
        dialogs->answerOpen(row.path);
        app::frmMain->mnuOpenPhoto->trigger();
        expectOutcome(row.outcome, row.what);
        EXPECT_EQ(app::PhotoFileName, testsupport::realData("optical.tif")) << row.what;
        EXPECT_EQ(app::frmPhoto->photoView->Picture().size(), QSize(939, 60)) << row.what;
        EXPECT_TRUE(app::PhotoOpen && app::CropOpen && app::frmCrop->stripBuffer->Image() == cropBefore) << row.what;
    }
    // A photo of two pages opens its first, and says so.
    dialogs->clearRecord();
    dialogs->answerOpen(write(".tif", twoPageTiff()));
    app::frmMain->mnuOpenPhoto->trigger();
    EXPECT_TRUE(app::PhotoOpen && onlyMessage().contains("holds 2 pictures (pages); Stratalyser shows its first."));
}

// The settings file at start-up. A file that cannot be used is named with its row once; the
// program runs on its defaults and leaves the file as it was for mending. Forms a text editor
// leaves (a byte-order mark, other line ends, quotes in a label) read as the shipped file does.
TEST_F(BadInputTest, SettingsFiles) {
    const QByteArray shipped = files::readFileBytes(settingsPath);
    const auto changed = [&shipped](const char* from, const char* to) {
        return QByteArray(shipped).replace(from, to);
    };
    // The shipped file with row r (0 being the title row) written as `text`.
    const auto withRow = [&shipped](int r, const QByteArray& text) {
        QList<QByteArray> rows = shipped.split('\n');
        rows[r] = text + '\r';
        return rows.join('\n');
    };
    const auto damaged = [this](const QString& rest) {
        return Outcome(
            "The reference file " + QDir::toNativeSeparators(settingsPath) + " is damaged: " + rest,
            "Message from Stratalyser");
    };
    const qsizetype row7 = shipped.indexOf("\"frmPreview\",\"Top\"");
    const QByteArray count = "\"last line read at start-up\",\"count\",";
    const QByteArray quotedName = withRow(5, "\"frm\"\"Main\"\", the main\",\"Top\",9999,9999");
    const struct {
        const char* what;
        QByteArray bytes;
        Outcome outcome;
    } rows[] = {
        {"the shipped file", shipped, kOpens},
        {"after a UTF-8 byte-order mark", "\xEF\xBB\xBF" + shipped, kOpens},
        {"saved as Unicode text by an editor", samples::unicodeText(shipped), kOpens},
        {"line feeds only", changed("\r\n", "\n"), kOpens},
        {"carriage returns only", changed("\r\n", "\r"), kOpens},
        {"quotes and a comma in a name", quotedName, kOpens},
        {"empty", QByteArray(), damaged("the file is empty.")},
        {"binary", samples::noise(3000), damaged("row 0")},
        {"cut between rows", shipped.left(row7), damaged("the file ends before row 7.")},
        {"cut inside a row", shipped.left(row7 + 12), damaged("row 7 has 1 field; every row has 4.")},
        {"tabs between the fields", changed(",", "\t"), damaged("row 0 has 1 field; every row has 4.")},
        {"a fifth field", withRow(6, "\"frmMain\",\"Left\",9999,9999,1"),
         damaged("row 6 has more than 4 fields.")},
        {"a blank line before row 7", withRow(7, "\r\n\"frmPreview\",\"Top\",9999,9999"), damaged("row 7")},
        {"a field short", withRow(5, "\"frmMain\",\"Top\",9999"), damaged("row 5")},
        {"a row count over 100", withRow(1, count + "100,101"), damaged("row 1")},
        {"a row count in column 2", withRow(1, count + "0,100"), damaged("row 1")},
        {"a colour as text", withRow(31, "\"Level-1\",\"colour\",255,\"red\""), damaged("row 31")},
        {"a colour out of range", withRow(32, "\"Level-2\",\"colour\",65535,-1"), damaged("row 32")},
        {"a position as a date", withRow(12, "\"frmCurve1\",\"Top\",9999,#2024-01-01#"), damaged("row 12")},
        {"a position far off any screen", withRow(67, "\"frmActiveYears\",\"Left\",9999,1e300"),
         damaged("row 67")},
        {"64 MB of line feeds", QByteArray(64 << 20, '\n'), damaged("the file ends before row 0.")},
    };
    for (const auto& row : rows) {
        restart();
        files::saveFileBytes(settingsPath, row.bytes);
        app::MainForm& main = start();
        expectOutcome(row.outcome, row.what);
        EXPECT_EQ(app::ReferencesLoaded, row.outcome.opens()) << row.what;
        if (row.outcome.opens()) {
            EXPECT_EQ(main.Caption(), "Stratalyser 2.2.2") << row.what;
            EXPECT_TRUE(app::References(1, 31) == core::Variant(QStringLiteral("colour"))) << row.what;
            continue;
        }
        EXPECT_EQ(main.Caption(), "Stratalyser 1.6") << row.what;
        EXPECT_TRUE(app::References(0, 5).isEmpty()) << row.what;  // nothing of the file was taken in
        for (int r = 1; r <= 100; ++r) ASSERT_TRUE(app::References(3, r) == 9999) << row.what << " row " << r;
        EXPECT_EQ(app::frmPreview->Left() + app::frmPreview->Width(), 1280 * 15) << row.what;  // the default layout
        // Quitting leaves the damaged file exactly as it was, and says nothing more.
        main.close();
        EXPECT_TRUE(app::programEnded()) << row.what;
        EXPECT_EQ(files::readFileBytes(settingsPath), row.bytes) << row.what;
        EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Message).size(), 1u) << row.what;
    }
    // The quoted name is read whole; written back at the quit, its quotes become single quotes
    // (the program never writes a quote inside a text), and the row keeps its four fields.
    restart();
    files::saveFileBytes(settingsPath, quotedName);
    start();
    EXPECT_EQ(app::References(0, 5).toString(), "frm\"Main\", the main");
    app::frmMain->close();
    EXPECT_TRUE(files::readFileBytes(settingsPath).contains("\"frm'Main', the main\",\"Top\",9999,"));

    // A folder where the file should be, and a file too large to be settings.
    for (const bool folder : {true, false}) {
        restart();
        QFile::remove(settingsPath);
        if (folder)
            QDir(dir.path()).mkpath(settingsPath);
        else
            writeSparse("References/Stratalyser_References.csv", kHugeFileBytes);
        start();
        EXPECT_TRUE(onlyMessage().contains(folder ? " cannot be read (it is a folder)" : " cannot be read (it is far larger"))
            << onlyMessage().toStdString();
        EXPECT_FALSE(app::ReferencesLoaded);
        app::unloadAllForms();
        QDir(settingsPath).removeRecursively();
    }
}
