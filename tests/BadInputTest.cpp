// Every file the program reads meets bad input through the user's own path (the import buttons,
// the menus, the start-up) with a clear outcome: either it opens, or one message says why and the
// program is exactly as it was, ready for another try. One table per reader.
#include <QTest>
#include <functional>

#include "AppFixture.h"
#include "SampleFiles.h"
#include "SynthCore.h"
#include "curves/windows/Curves.h"

using app::curveWindow;
using core::Variant;
using ui::ScriptedDialogs;

namespace {

constexpr int kCoreWidth = 300;
constexpr int kXrfFields = 55;  // the synthetic scanner table's fields per row

const QString kCannotReadImage = QStringLiteral(
    "Stratalyser can only read image files in bitmap (.bmp), jpeg (.jpg), PNG (.png) or TIFF (.tif, 8 or 16 "
    "bits per channel) format. Please convert the image file using graphic software.");
const char* const kGuidance = "Stratalyser formatting guidance";

// What a row expects: the start of the one message shown, and its title; no message = it opens.
struct Outcome {
    QString message;
    QString title;
    bool opens() const { return message.isEmpty(); }
};
// One file of a table: what it is, where it lies, what opening it must give.
struct FileRow {
    const char* what;
    QString path;
    Outcome outcome;
};

Outcome opens() {
    return {};
}
Outcome refused(const QString& message, const char* title) {
    return {message, QString::fromLatin1(title)};
}

QList<QByteArray> linesOf(const QByteArray& table) {
    QList<QByteArray> lines = table.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines, const QByteArray& lineEnd) {
    return lines.join(lineEnd) + lineEnd;
}

// The comma table made a working file: "varvecounting" in the preamble and four more columns.
// labelOf(p) and yearOf(p) give row p's lamina label and year fields as written in the file.
QByteArray workingFile(const QByteArray& commaTable, const std::function<QByteArray(int)>& labelOf,
                       const std::function<QByteArray(int)>& yearOf = [](int) { return QByteArray("\"---\""); }) {
    QList<QByteArray> lines = linesOf(commaTable);
    const qsizetype header = lines.size() - 1 - kCoreWidth;
    QList<QByteArray> out = lines.mid(0, header);
    out.insert(1, "\"varvecounting\"");
    out += lines[header] + ",\"greyscale\",\"year\",\"marker\",\"note\"";
    for (int p = 1; p <= kCoreWidth; ++p) {
        out += lines[header + p] + ",1," + yearOf(p) + "," + labelOf(p) + ",\"---\"";
    }
    return joined(out, "\r\n");
}

// A field of row `row` written as `text`, every other row's as "---".
std::function<QByteArray(int)> fieldAt(int row, const char* text) {
    return [row, text](int p) { return QByteArray(p == row ? text : "\"---\""); };
}

constexpr qint64 kHugeFileBytes = 3ll * 1024 * 1024 * 1024;

}  // namespace

class BadInputTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        installDefaultSettings();
    }
    QString write(const QString& name, const QByteArray& bytes) { return writeFile(dir.filePath(name), bytes); }
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
        for (const bool b : {app::XrfLoaded, app::RadiographImported, app::Profile.isAllocated(), main.Command1->isEnabled(),
                             main.Command2->isEnabled(), main.mnuOpenXRF->Enabled(), main.Command5->isEnabled(),
                             main.mnuSummary->Enabled(), main.Frame3->isEnabled(), main.ProgressBar1->isVisible(),
                             app::curveWindow(2).isVisible()})
            state << QString::number(b);
        state << QString::number(app::XrfColumnCount) << QString::number(app::DataLength) << app::XrfHeaders(0)
              << app::WorkingFileName << main.Command5->Caption() << QString::number(app::curveWindow(2).Combo1->ListCount())
              << app::XrfData.get(1, 1).toString() << QString::number(main.Picture1->surface().widthPixels())
              << QString::number(app::frmPreview->Line1(1)->Y1());
        return state;
    }
    // The refusal of a file that cannot be read at all.
    static Outcome cannotRead(const QString& path, const char* why) {
        return refused("The file " + QDir::toNativeSeparators(path) + " cannot be read (" + why, "Stratalyser");
    }
    // Answers the next open dialog with the path, or cancels it for an empty path.
    void answerOpen(const QString& path) {
        if (path.isEmpty()) {
            dialogs->cancelFile();
        } else {
            dialogs->answerOpen(path);
        }
    }
    // One message with the expected start, title and icon; or none at all.
    void expectOutcome(const Outcome& expected, const char* what) {
        const auto messages = dialogs->shownOf(ScriptedDialogs::Kind::Message);
        if (expected.opens()) {
            EXPECT_TRUE(messages.empty()) << what << ": " << messages[0].text.toStdString();
            return;
        }
        ASSERT_EQ(messages.size(), 1u) << what;
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
    const QList<QByteArray> commaLines = linesOf(commas);

    const qsizetype header = commaLines.size() - 1 - kCoreWidth;
    QList<QByteArray> shortRow = commaLines;
    QByteArray& fifth = shortRow[header + 5];
    fifth.truncate(fifth.lastIndexOf(','));
    synth::VarvedCore tall = synth::makeVarvedCore(26001, 4);
    const QByteArray tooManyRows = synth::makeXrfTable(tall, false, 16);
    const QString labelWithQuotes = QStringLiteral("#a \"thick\" one, dark; ü");
    const char* const quotedLabel = "\"#a \"\"thick\"\" one, dark; \xC3\xBC\"";

    const auto noLabel = fieldAt(0, "");
    const FileRow rows[] = {
        {"the scanner's own tab form", write("tabs.txt", tabs), opens()},
        {"the comma form after a UTF-8 byte-order mark", write("bom.csv", "\xEF\xBB\xBF" + commas), opens()},
        {"a spreadsheet's Unicode text (UTF-16 with its mark)", write("utf16.txt", samples::unicodeText(commas)),
         opens()},
        {"line feeds only", write("lf.csv", joined(commaLines, "\n")), opens()},
        {"carriage returns only", write("cr.csv", joined(commaLines, "\r")), opens()},
        {"quotes, a comma and non-ASCII text in a label",
         write("labels.csv", workingFile(commas, fieldAt(7, quotedLabel))), opens()},
        {"empty", write("empty.csv", QByteArray()), refused("Format error.", "Error")},
        {"binary", write("binary.csv", samples::noise(3000)), refused("Format error.", "Error")},
        {"no \"filename\" field", write("names.csv", "\"a\",\"b\"\r\n"), refused("Format error.", "Error")},
        {"a picture named .csv", write("picture.csv", samples::jpegDeclaring(16, 16)),
         refused("Format error.", "Error")},
        {"a header with no data", write("header.csv", joined(commaLines.mid(0, header + 1), "\r\n")),
         refused("Format error.", "Error")},
        {"cut inside the last row", write("cut.txt", tabs.chopped(20)),
         refused("The XRF file ends inside data row 300", kGuidance)},
        {"a row without its last field", write("short.csv", joined(shortRow, "\r\n")),
         refused(QStringLiteral("Data row 5 of the XRF file has %1 fields, but its header names %2.")
                     .arg(kXrfFields - 1)
                     .arg(kXrfFields),
                 kGuidance)},
        {"101 fields a row", write("wide.csv", synth::makeXrfTable(core, false, 101)),
         refused("The rows of the XRF file have 101 fields; Stratalyser reads at most 100.", kGuidance)},
        {"26001 rows", write("long.csv", tooManyRows), refused("Format error.", "Error")},
        {"one row short of the radiograph",
         write("299.csv", joined(commaLines.mid(0, commaLines.size() - 1), "\r\n")),
         refused(
             "The XRF data length (299 measurements) does not match with the Radiograph width (300 pixels).",
             kGuidance)},
        {"a working file with a year the program never writes",
         write("year.csv", workingFile(commas, noLabel, fieldAt(1, "\"x\""))),
         refused("Row 1 of the working file holds \"x\" as its year", kGuidance)},
        {"a working file with a level beyond 9", write("year12.csv", workingFile(commas, noLabel, fieldAt(4, "12"))),
         refused("Row 4 of the working file holds \"12\" as its year", kGuidance)},
        // The year field of the first data row keeps a leading # that later rows lose.
        {"\"#---\" as a later row's year", write("hash5.csv", workingFile(commas, noLabel, fieldAt(5, "\"#---\""))),
         opens()},
        {"\"#---\" as the first row's year", write("hash1.csv", workingFile(commas, noLabel, fieldAt(1, "\"#---\""))),
         refused("Row 1 of the working file holds \"#---\" as its year", kGuidance)},
        {"a working file with a label not starting with #", write("label.csv", workingFile(commas, fieldAt(3, "\"dark\""))),
         refused("Row 3 of the working file holds \"dark\" as its lamina label", kGuidance)},
        {"a folder", dir.path(), cannotRead(dir.path(), "it is a folder).")},
        {"a missing file", dir.filePath("gone.csv"), cannotRead(dir.filePath("gone.csv"), "it does not exist).")},
        {"3 GB", writeSparse("huge.csv", kHugeFileBytes),
         cannotRead(dir.filePath("huge.csv"), "it is far larger than an XRF table can be).")},
        {"a cancelled dialog", QString(), opens()},
    };
    for (const FileRow& row : rows) {
        restart();
        app::MainForm& main = start();
        dialogs->answerOpen(radiograph);
        main.Command1->click();
        ASSERT_EQ(app::DataLength, kCoreWidth);
        const QStringList before = programState();
        dialogs->clearRecord();
        answerOpen(row.path);
        main.Command2->click();
        expectOutcome(row.outcome, row.what);
        if (!row.outcome.opens() || row.path.isEmpty()) {
            EXPECT_EQ(programState(), before) << row.what;
            continue;
        }
        EXPECT_EQ(app::XrfColumnCount, kXrfFields) << row.what;
        EXPECT_TRUE(app::XrfData(1, kCoreWidth).toString().endsWith("spe")) << row.what;
        EXPECT_TRUE(curveWindow(2).isVisible()) << row.what;
        EXPECT_EQ(curveWindow(2).Combo1->ListCount(), kXrfFields - 7) << row.what;
        EXPECT_FALSE(main.Command2->isEnabled()) << row.what;  // not offered again, not even by the menu
        main.mnuOpenXRF->trigger();
        EXPECT_EQ(app::WorkingFileName, row.path) << row.what;
        if (row.path.endsWith("labels.csv")) {
            EXPECT_EQ(app::MarkerLabel(7), labelWithQuotes);
        }
    }
}

// Radiographs through the import button and the menu. A picture that cannot be used leaves the
// main window at its design size, the band where it was and the button ready; the good file then
// imports.
TEST_F(BadInputTest, Radiographs) {
    const QByteArray real = files::readFileBytes(testsupport::realData("radiograph.jpg"));
    const QByteArray real16 = files::readFileBytes(testsupport::realData("radiograph.tif"));
    QImage wide(32768, 2, QImage::Format_Grayscale8);
    wide.fill(100);
    ASSERT_TRUE(wide.save(dir.filePath("wide.bmp"), "BMP"));
    const FileRow rows[] = {
        {"0 bytes", write("empty.bmp", QByteArray()), refused(kCannotReadImage, kGuidance)},
        {"binary", write("binary.jpg", samples::noise(5000)), refused(kCannotReadImage, kGuidance)},
        {"an XRF table named .jpg", write("table.jpg", "filename\tposition (mm)\t\r\nL1.spe\t0.2\t\r\n"),
         refused(kCannotReadImage, kGuidance)},
        {"a text named .tif", write("table.tif", "filename,position\r\n"),
         refused(kCannotReadImage, kGuidance)},
        {"a JPEG cut inside its header", write("header.jpg", QByteArray("\xFF\xD8\xFF\xE0 cut", 8)),
         refused(kCannotReadImage, kGuidance)},
        {"the real JPEG cut at two thirds", write("cut.jpg", real.left(real.size() * 2 / 3)),
         refused("The image file is incomplete: its header declares 2251 x 84 pixels", kGuidance)},
        {"the real 16-bit TIFF cut at half", write("cut.tif", real16.left(real16.size() / 2)),
         refused(kCannotReadImage, kGuidance)},
        {"a JPEG declaring 32767 x 16383 pixels", write("huge.jpg", samples::jpegDeclaring(32767, 16383)),
         refused("The image declares 32767 x 16383 pixels, which would need 2048 MB", kGuidance)},
        {"a TIFF declaring 20000 x 60000 pixels", write("huge.tif", samples::tiffDeclaring(20000, 60000)),
         refused("The image declares 20000 x 60000 pixels", kGuidance)},
        {"32768 pixels wide", dir.filePath("wide.bmp"),
         refused("The radiograph is 32768 pixels wide.", kGuidance)},
        {"a folder", dir.path(), refused(kCannotReadImage, kGuidance)},
        // A cancelled dialog shows the same guidance (the import's one error path).
        {"a cancelled dialog", QString(), refused(kCannotReadImage, kGuidance)},
    };
    app::MainForm& main = start();
    const QStringList before = programState();
    bool byMenu = false;
    for (const FileRow& row : rows) {
        dialogs->clearRecord();
        answerOpen(row.path);
        if (byMenu) {
            main.mnuOpenRadio->trigger();
        } else {
            main.Command1->click();
        }
        byMenu = !byMenu;
        expectOutcome(row.outcome, row.what);
        EXPECT_EQ(programState(), before) << row.what;
    }
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::OpenFile).at(0).filter.startsWith(
        "All (*.*)|*.*|Images (*.bmp *.jpg *.jpeg *.png *.tif *.tiff)"));

    dialogs->answerOpen(testsupport::realData("radiograph.jpg"));
    main.mnuOpenRadio->trigger();
    EXPECT_EQ(app::DataLength, 2251);
    EXPECT_TRUE(main.Command2->isEnabled());
}

// Core photos over the real core with its own photo open: a photo that cannot be used is named
// with its reason, and the photo shown, its window and its close-up stay as they were.
TEST_F(BadInputTest, Photos) {
    importRealCore();
    dialogs->answerOpen(testsupport::realData("optical.tif"));
    app::frmMain->Command3->click();
    app::frmPhoto->mnuCrop->trigger();
    ASSERT_TRUE(app::CropOpen);
    const QImage cropBefore = app::frmCrop->Picture1->Image();
    const QByteArray tif = files::readFileBytes(testsupport::realData("optical.tif"));
    const QByteArray jpg = files::readFileBytes(testsupport::realData("optical.jpg"));
    const auto cannotOpen = [this](const char* name) {
        return refused("The photo " + QDir::toNativeSeparators(dir.filePath(name)) + " cannot be opened.",
                       "Message from Stratalyser");
    };
    const auto incomplete = [this](const char* name) {
        return refused("The photo " + QDir::toNativeSeparators(dir.filePath(name)) + " is incomplete",
                       "Message from Stratalyser");
    };
    const FileRow rows[] = {
        {"0 bytes", write("empty.jpg", QByteArray()), cannotOpen("empty.jpg")},
        {"binary", write("binary.png", samples::noise(5000)), cannotOpen("binary.png")},
        {"an XRF table named .jpg", write("table.jpg", "filename\tposition (mm)\t\r\n"),
         cannotOpen("table.jpg")},
        // The scanner's TIFF keeps its directory at the end: cut, it has no header left.
        {"the real TIFF cut", write("cut.tif", tif.left(5000)), cannotOpen("cut.tif")},
        {"the real JPEG cut", write("cut.jpg", jpg.left(jpg.size() / 2)), incomplete("cut.jpg")},
        {"a PNG cut", write("cut.png", samples::pictureBytes(QImage(16, 16, QImage::Format_RGB32), "png").chopped(40)), cannotOpen("cut.png")},
        {"a TIFF with its directory first, cut in its pixels",
         write("pixels.tif", samples::tiffDirectoryFirst(300, 200).left(90000)), cannotOpen("pixels.tif")},
        {"a JPEG declaring 32767 x 16383 pixels", write("huge.jpg", samples::jpegDeclaring(32767, 16383)),
         refused("The photo " + QDir::toNativeSeparators(dir.filePath("huge.jpg")) +
                     " declares 32767 x 16383 pixels, which would need 2048 MB",
                 "Message from Stratalyser")},
        {"a TIFF declaring 20000 x 60000 pixels", write("huge.tif", samples::tiffDeclaring(20000, 60000)),
         refused(
             "The photo " + QDir::toNativeSeparators(dir.filePath("huge.tif")) + " declares 20000 x 60000",
             "Message from Stratalyser")},
        {"a folder", dir.path(),
         refused("The photo " + QDir::toNativeSeparators(dir.path()), "Message from Stratalyser")},
    };
    for (const FileRow& row : rows) {
        dialogs->clearRecord();
        dialogs->answerOpen(row.path);
        app::frmMain->mnuOpenPhoto->trigger();
        expectOutcome(row.outcome, row.what);
        EXPECT_EQ(app::PhotoFileName, testsupport::realData("optical.tif")) << row.what;
        EXPECT_EQ(app::frmPhoto->Image1->Picture().size(), QSize(939, 60)) << row.what;
        EXPECT_TRUE(app::PhotoOpen) << row.what;
        EXPECT_TRUE(app::CropOpen) << row.what;
        EXPECT_EQ(app::frmCrop->Picture1->Image(), cropBefore) << row.what;
    }
}

// The settings file at start-up. A file that cannot be used is named with its row once; the
// program runs on its defaults and leaves the file as it was for mending. Forms a text editor
// leaves (a byte-order mark, other line ends, quotes in a label) read as the shipped file does.
TEST_F(BadInputTest, SettingsFiles) {
    const QByteArray shipped =
        files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv"));
    const auto changed = [&shipped](const char* from, const char* to) {
        QByteArray bytes = shipped;
        bytes.replace(from, to);
        return bytes;
    };
    QByteArray shortened = shipped.left(shipped.indexOf("\"frmPreview\",\"Top\""));
    QByteArray cutInRow = shipped.left(shipped.indexOf("\"frmPreview\",\"Top\"") + 12);
    const auto damaged = [this](const QString& rest) {
        return refused(
            "The reference file " + QDir::toNativeSeparators(settingsPath) + " is damaged: " + rest,
            "Message from Stratalyser");
    };
    struct Row {
        const char* what;
        QByteArray bytes;
        Outcome outcome;
    };
    const Row rows[] = {
        {"the shipped file", shipped, opens()},
        {"after a UTF-8 byte-order mark", "\xEF\xBB\xBF" + shipped, opens()},
        {"saved as Unicode text by an editor", samples::unicodeText(shipped), opens()},
        {"line feeds only", QByteArray(shipped).replace("\r\n", "\n"), opens()},
        {"carriage returns only", QByteArray(shipped).replace("\r\n", "\r"), opens()},
        {"quotes and a comma in a name",
         changed("\"frmMain\",\"Top\"", "\"frm\"\"Main\"\", the main\",\"Top\""), opens()},
        {"empty", QByteArray(), damaged("the file is empty.")},
        {"binary", samples::noise(3000), damaged("row 0")},
        {"cut between rows", shortened, damaged("the file ends before row 7.")},
        {"cut inside a row", cutInRow, damaged("row 7 has 1 field; every row has 4.")},
        {"tabs between the fields", QByteArray(shipped).replace(',', '\t'),
         damaged("row 0 has 1 field; every row has 4.")},
        {"a fifth field", changed("\"frmMain\",\"Left\",9999,9999", "\"frmMain\",\"Left\",9999,9999,1"),
         damaged("row 6 has more than 4 fields.")},
        {"a row count over 100", changed("\"count\",100,100", "\"count\",100,101"), damaged("row 1")},
        {"a colour as text", changed("\"Level-1\",\"colour\",255,255", "\"Level-1\",\"colour\",255,\"red\""),
         damaged("row 31")},
        {"a blank line before row 7", changed("\"frmPreview\",\"Top\"", "\r\n\"frmPreview\",\"Top\""),
         damaged("row 7")},
        {"colour out of range", changed("\"Level-2\",\"colour\",65535,65535", "\"Level-2\",\"colour\",65535,-1"), damaged("row 32")},
        {"default colour a fraction", changed("\"Level-3\",\"colour\",33023,", "\"Level-3\",\"colour\",330.5,"), damaged("row 33")},
        {"a field short", changed("\"frmMain\",\"Top\",9999,9999", "\"frmMain\",\"Top\",9999"), damaged("row 5")},
        {"position as a date", changed("\"frmCurve1\",\"Top\",9999,9999", "\"frmCurve1\",\"Top\",9999,#2024-01-01#"), damaged("row 12")},
        {"width negative", changed("\"frmPreview\",\"Width\",9999,9999", "\"frmPreview\",\"Width\",9999,-400"), damaged("row 9")},
        {"negative row count", changed("\"count\",100,100", "\"count\",100,-5"), damaged("row 1")},
        {"row count as a word", changed("\"count\",100,100", "\"count\",100,\"many\""), damaged("row 1")},
        {"row count in column 2", changed("\"count\",100,100", "\"count\",0,100"), damaged("row 1")},
        {"position far off any screen", changed("\"frmActiveYears\",\"Left\",9999,9999", "\"frmActiveYears\",\"Left\",9999,1e300"),
         damaged("row 67")},
        {"64 MB of line feeds", QByteArray(64 << 20, '\n'), damaged("the file ends before row 0.")},
    };
    for (const Row& row : rows) {
        restart();
        files::saveFileBytes(settingsPath, row.bytes);
        app::MainForm& main = start();
        expectOutcome(row.outcome, row.what);
        if (row.outcome.opens()) {
            EXPECT_TRUE(app::ReferencesLoaded) << row.what;
            EXPECT_EQ(main.Caption(), "Stratalyser 2.2.2") << row.what;
            EXPECT_TRUE(app::References(1, 31) == Variant(QStringLiteral("colour"))) << row.what;
            continue;
        }
        EXPECT_FALSE(app::ReferencesLoaded) << row.what;
        EXPECT_EQ(main.Caption(), "Stratalyser 1.6") << row.what;
        EXPECT_TRUE(app::References(0, 5).isEmpty()) << row.what;  // nothing of the file was taken in
        for (int r = 1; r <= 100; ++r) ASSERT_TRUE(app::References(3, r) == 9999) << row.what << " row " << r;
        EXPECT_EQ(app::frmPreview->Width(), 1280 * 15 - 2 * main.Left()) << row.what;  // the default layout
        // Quitting leaves the damaged file exactly as it was, and says nothing more.
        main.close();
        EXPECT_TRUE(app::programEnded()) << row.what;
        EXPECT_EQ(files::readFileBytes(settingsPath), row.bytes) << row.what;
        EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Message).size(), 1u) << row.what;
    }
    // The quoted name is read whole; written back at the quit, its quotes become single quotes
    // (the program never writes a quote inside a text), and the row keeps its four fields.
    restart();
    const QByteArray quoted = changed("\"frmMain\",\"Top\"", "\"frm\"\"Main\"\", the main\",\"Top\"");
    files::saveFileBytes(settingsPath, quoted);
    app::MainForm& main = start();
    EXPECT_EQ(app::References(0, 5).toString(), "frm\"Main\", the main");
    main.close();
    EXPECT_TRUE(files::readFileBytes(settingsPath).contains("\"frm'Main', the main\",\"Top\",9999,"));

    // A folder where the file should be, and a file too large to be settings.
    for (const bool folder : {true, false}) {
        restart();
        QFile::remove(settingsPath);
        if (folder) {
            QDir(dir.path()).mkpath(settingsPath);
        } else {
            writeSparse("References/Stratalyser_References.csv", kHugeFileBytes);
        }
        start();
        const auto messages = dialogs->shownOf(ScriptedDialogs::Kind::Message);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(
            messages[0].text.contains(folder ? " cannot be read (it is a folder)" : " cannot be read ("))
            << messages[0].text.toStdString();
        EXPECT_FALSE(app::ReferencesLoaded);
        app::unloadAllForms();
        if (folder) QDir(settingsPath).removeRecursively();
    }
}
