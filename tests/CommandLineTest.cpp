// Opening files from the command line: what is accepted, what is refused before any window
// opens, and that the named files open in order without a dialog.
#include <QMimeData>
#include <QProcess>
#include <sys/stat.h>

#include <set>

#include "AppFixture.h"

using app::parseCommandLine;

namespace {
QString program() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/stratalyser");
}
}  // namespace

TEST(CommandLineTest, ArgumentsAndTheirMistakes) {
    const QString r = testsupport::realData("radiograph.tif"), x = testsupport::realData("Results.txt"),
                  p = testsupport::realData("optical.tif");
    const app::CommandLine all = parseCommandLine({"--radiograph", r, "--xrf", x, "--photo", p});
    EXPECT_EQ((QStringList{all.error, all.radiograph, all.xrf, all.photo}), (QStringList{QString(), r, x, p}));
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    const app::CommandLine demo = parseCommandLine({"-platform", "offscreen", "--demo"});
    EXPECT_TRUE(demo.demo && demo.error.isEmpty());
    // A folder where a file belongs is refused like a missing file, before any window opens.
    const QString folder = testsupport::testData("YAN8A1_200um");
    QTemporaryDir scratch;  // and a named pipe, which would hang the program at its opening
    const QString pipe = scratch.filePath("pipe");
    ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
    const std::pair<QStringList, QString> rows[] = {  // the arguments, the error
        {{"--radiograph", folder}, "no such file: " + folder},
        {{"--radiograph", r, "--xrf", folder}, "no such file: " + folder},
        {{"--radiograph", r, "--xrf", pipe}, "not a regular file: " + pipe},
        {{"--radiograph"}, "--radiograph needs a file name"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--radiograph", "/no/such/radiograph.bmp"}, "no such file: /no/such/radiograph.bmp"},
        {{"--xrf", x}, "the XRF data need their radiograph: give it with --radiograph FILE"},
        {{"--radiograph", r, "--photo", p}, "the photo opens after the XRF data: give --xrf FILE or a working file too"},
        {{"--radiograph", r, "--xrf", x, x}, "give either --xrf or a working file: the working file holds the XRF data"},
        {{"--demo", "--radiograph", r}, "--demo opens its own files; name no others with it"},
        {{"--radiograph", r, "a.csv", "b.csv"}, "more than one working file: a.csv, b.csv"},
        {{"--radiograph", QString::fromLocal8Bit("Kern_\xE4.bmp")},  // a Latin-1 name, decoded as main() does
         "the file name is not UTF-8 text, which Stratalyser cannot open; please rename the file: Kern_\uFFFD.bmp"},
    };
    for (const auto& [arguments, error] : rows) EXPECT_EQ(parseCommandLine(arguments).error, error) << arguments.join(' ').toStdString();
    // One file alone, as "Open with" passes it: a radiograph by its name's ending, otherwise a working file.
    EXPECT_EQ(parseCommandLine({r}).radiograph, r);
    const app::CommandLine working = parseCommandLine({x});
    EXPECT_TRUE(working.error.isEmpty() && working.working == x && working.radiograph.isEmpty());
}

// A working file opened alone asks for its radiograph with the import's dialog, then opens.
TEST_F(AppTest, AWorkingFileAloneAsksForItsRadiographFirst) {
    start();
    dialogs->answerOpen(testsupport::realData("radiograph.bmp"));
    app::openFromCommandLine(parseCommandLine({testsupport::realData("Results.txt")}));
    EXPECT_EQ(dialogs->shownOf(ui::ScriptedDialogs::Kind::OpenFile).size(), 1u);
    EXPECT_TRUE(app::XrfLoaded && app::DataLength == 2251);
}

// --help prints the usage; a missing file ends with a message and exit code 2, no window opened
// (no display is needed to find that out).
TEST(CommandLineTest, HelpAndMissingFilesEndBeforeAnyWindow) {
    QProcess help;
    help.start(program(), {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("Usage: stratalyser [--radiograph FILE]"));
    help.start(program(), {"--version"});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_TRUE(help.exitCode() == 0 && help.readAllStandardOutput() == "Stratalyser " STRATALYSER_VERSION "\n");

    QProcess missing;
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.remove("DISPLAY");
    noDisplay.remove("WAYLAND_DISPLAY");
    noDisplay.remove("QT_QPA_PLATFORM");
    missing.setProcessEnvironment(noDisplay);
    missing.start(program(), {"--radiograph", "/no/such/file.tif"});
    ASSERT_TRUE(missing.waitForFinished(30000));
    EXPECT_EQ(missing.exitCode(), 2);
    EXPECT_TRUE(missing.readAllStandardError().startsWith("stratalyser: no such file: /no/such/file.tif"));
}

// The radiograph and the scanner table named on the command line open without a dialog; so does
// the whole demonstration core.
TEST_F(AppTest, NamedFilesAndTheDemoCoreOpenWithoutADialog) {
    start();
    app::openFromCommandLine(parseCommandLine({"--radiograph", testsupport::realData("radiograph.bmp"), "--xrf",
                                               testsupport::realData("Results.txt")}));
    EXPECT_TRUE(app::XrfLoaded && app::DataLength == 2251);
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_EQ(app::curveWindow(6).Caption(), "6: Zr");
    restart();

    start();
    QTemporaryDir demo;
    app::openFromCommandLine(app::makeDemoCore(demo.path()));
    EXPECT_TRUE(app::XrfLoaded && app::PhotoOpen && app::frmPhoto->isVisible());
    EXPECT_EQ(app::DataLength, 1500);
    EXPECT_TRUE(dialogs->shown().empty());
    // A first counting shows what the windows are for: boundaries of three levels, one named lamina
    // and one note, the pointer line over the plots; saved as the core's working file in its folder,
    // and nothing else written there.
    std::set<int> levels;
    int labels = 0, notes = 0;
    for (long p = 1; p <= app::DataLength; ++p) {
        if (app::MarkerLevel(core::Position(p)) > 0) levels.insert(app::MarkerLevel(core::Position(p)));
        labels += app::MarkerLabel(p) != "---";
        notes += app::MarkerNote(p) != "---";
    }
    EXPECT_EQ(levels, (std::set<int>{1, 2, 3}));
    EXPECT_TRUE(labels == 1 && notes == 1);
    EXPECT_EQ(countPixels(plot(4)->Image(), core::toQRgb(core::kPointerColour)), plot(4)->Image().height());
    EXPECT_TRUE(app::Saved && app::frmMain->saveAsButton->Caption() == "Save");
    QStringList written = QDir(demo.path()).entryList(QDir::Files);
    written.sort();
    EXPECT_EQ(written, (QStringList{"Results.txt", "demo.csv", "optical.png", "radiograph.bmp"}));
    EXPECT_EQ(app::WorkingFileName, demo.filePath("demo.csv"));
    // The next --demo opens the count saved there; nothing in the folder is written again.
    app::YearMark(700) = core::Variant(core::Integer{4});
    app::frmMain->mnuSave->trigger();
    const QByteArray saved = files::readFileBytes(demo.filePath("demo.csv"));
    restart();
    start();
    app::openFromCommandLine(app::makeDemoCore(demo.path()));
    EXPECT_TRUE(app::XrfLoaded && app::PhotoOpen && app::Saved && app::YearMark(700) == 4);
    EXPECT_EQ(files::readFileBytes(demo.filePath("demo.csv")), saved);
}

// File > Open recent: the core with its working file, kept beside the settings for the next start;
// opening one closes the open core first; a core whose file is gone is said so and leaves the list.
TEST_F(AppTest, RecentCoresOpenWithTheirWorkingFiles) {
    openSyntheticCore(300);
    importXrf(dir.filePath("Results.txt"));
    saveAs(dir.filePath("work.csv"));
    restart();
    app::MainForm& main = start();
    ASSERT_TRUE(main.mnuOpenRecent->Enabled());
    EXPECT_TRUE(main.mnuRecentCores(1)->Caption() == "1 core.bmp, work.csv" && !main.mnuRecentCores(2)->Visible());
    main.mnuRecentCores(1)->trigger();
    EXPECT_TRUE(app::XrfLoaded && app::WorkingFileName == dir.filePath("work.csv") && app::DataLength == 300);
    app::frmMain->mnuRecentCores(1)->trigger();  // the same core again: the open one closes first
    QCoreApplication::processEvents();
    EXPECT_TRUE(app::XrfLoaded && dialogs->shownOf(ui::ScriptedDialogs::Kind::Message).empty());
    QFile::remove(dir.filePath("work.csv"));
    app::frmMain->mnuRecentCores(1)->trigger();
    EXPECT_TRUE(onlyMessage().contains("work.csv of this core no longer exists") && app::XrfLoaded);
    EXPECT_FALSE(app::frmMain->mnuOpenRecent->Enabled() || app::frmMain->mnuRecentCores(1)->Visible());
    writeFile(app::RecentCoresPath(), samples::noise(2000));  // a damaged list: an empty one, and no message
    restart();
    start();
    EXPECT_TRUE(!app::frmMain->mnuOpenRecent->Enabled() && dialogs->shown().empty());
}

// Files dropped on a window open as their commands would: the radiograph and its table together,
// then the photo; what cannot open yet is said so.
TEST_F(AppTest, DroppedFilesOpenAsTheirCommandsWould) {
    const auto drop = [](QWidget* window, const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    };
    openSyntheticCore(300);
    restart();
    start();
    const QString photo = dir.filePath("photo.png");
    ASSERT_TRUE(core.radiograph.save(photo));
    EXPECT_TRUE(drop(&app::frmMain.get(), {dir.filePath("Results.txt")}));
    EXPECT_TRUE(onlyMessage().startsWith("A core opens with its radiograph") && !app::RadiographImported);
    dialogs->clearRecord();
    EXPECT_TRUE(drop(&app::frmPreview.get(), {dir.filePath("core.bmp"), dir.filePath("Results.txt")}));
    EXPECT_TRUE(app::XrfLoaded && app::DataLength == 300 && dialogs->shown().empty());
    EXPECT_TRUE(drop(&app::curveWindow(3), {dir.filePath("Results.csv")}));
    EXPECT_TRUE(onlyMessage().contains("close the core (File > Close core)"));
    dialogs->answerOpen(photo);  // the dialogs now start in the folder of the files dropped
    app::frmMain->mnuOpenPhoto->trigger();
    EXPECT_TRUE(dialogs->shownOf(ui::ScriptedDialogs::Kind::OpenFile).at(0).initialName.startsWith(dir.path()));
    EXPECT_TRUE(drop(&app::curveWindow(3), {photo}));
    EXPECT_TRUE(app::PhotoOpen && app::PhotoFileName == photo);
}
