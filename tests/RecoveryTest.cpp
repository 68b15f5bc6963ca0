// The recovery copy: a count killed midway comes back at the next start; the copy's reader meets
// bad input.
#include <QDateTime>
#include <QProcess>
#include <sys/stat.h>

#include "AppFixture.h"
#include "files/Recovery.h"
#include "files/WorkingFile.h"

namespace {

const char* const kChildFolder = "STRATALYSER_RECOVERY_CHILD";

}  // namespace

class RecoveryTest : public AppTest {
  protected:
    QString recoveryFolder() const { return dir.filePath(QStringLiteral("recovery")); }
    // Starts the program and offers what was left behind, as it does once its windows are up: the
    // messages shown.
    std::vector<ui::ScriptedDialogs::Shown> messagesAtStart() {
        start();
        app::OfferRecoveryAtStart();
        return dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
    }
};

// The child's part of the test below, run in its own process (the variable names the folder of
// the core's files); skipped in the suite itself. It shows a section of the core, counts with the
// keys, saves, presses one key more (the copy must follow from that one change), writes what Save
// would write now, waits for its recovery copy, says which section it shows and stays until killed.
TEST_F(RecoveryTest, ChildCountsUntilKilled) {
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty()) GTEST_SKIP() << "the other process of the tests of a count killed midway";
    app::setRecoveryFolder(folder + QStringLiteral("/recovery"));
    openRadiograph(folder + QStringLiteral("/core.bmp"));
    importXrf(folder + QStringLiteral("/Results.txt"));
    const long n = app::DataLength;
    placeSection(app::frmPreview->previewImage->Width() * 50 / n, app::frmPreview->previewImage->Width() * 300 / n);
    keyAt(2, n - 100, Qt::Key_1);
    labelAt(2, n - 200, "T1");
    noteAt(2, n - 250, "slump");
    saveAs(folder + QStringLiteral("/saved.csv"));
    keyAt(3, n - 150, Qt::Key_3);
    // As a save writes them: a text emptied in its dialog ("#---") is stored as none.
    core::Array<QString> labels = app::MarkerLabel, notes = app::MarkerNote;
    for (core::Array<QString>* texts : {&labels, &notes})
        for (long p = 0; p <= texts->upper(); ++p) (*texts)(p) = (*texts)(p) == "#---" ? "---" : (*texts)(p);
    writeFile(folder + QStringLiteral("/expected.csv"),
              files::writeWorkingFile({static_cast<int>(app::DataLength), app::XrfColumnCount, app::XrfHeaders,
                                       app::XrfData, app::Profile, app::YearMark, labels, notes}));
    const QDir copies(folder + QStringLiteral("/recovery"));
    QTRY_VERIFY_WITH_TIMEOUT(!copies.entryList({"recovery-*.csv"}, QDir::Files).isEmpty(), 120000);
    std::printf("ready %d %d\n", int(app::ViewLeft), int(app::ViewRight));
    std::fflush(stdout);
    QEventLoop().exec();  // until killed
}

// A count killed midway is recovered at the next start: on a core of 150,000 columns, so that
// positions past 32,767 are in the copy, and a table of as many rows is read again.
TEST_F(RecoveryTest, ACountKilledMidwayIsRecoveredAtTheNextStart) {
    const long n = 150000;
    openSyntheticCore(n, 40, false, 16);  // its files in this test's folder
    restart();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildFolder, dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryTest.ChildCountsUntilKilled"});
    QByteArray said;
    while (!(said.contains("ready ") && said.endsWith('\n')) && child.waitForReadyRead(300000))
        said += child.readAllStandardOutput();
    ASSERT_TRUE(said.contains("ready ")) << said.constData();
    child.kill();  // SIGKILL: no chance to save or clean up
    child.waitForFinished();

    dialogs->answerMessage(ui::MessageResult::Yes);
    messagesAtStart();
    EXPECT_TRUE(onlyMessage().startsWith("Unsaved counting from ") &&
                onlyMessage().contains(" was found (2 boundaries, 1 labels, 1 notes); No keeps it aside as ") &&
                onlyMessage().endsWith(".csv.unused. Recover it?"))
        << onlyMessage().toStdString();
    ASSERT_TRUE(app::XrfLoaded);
    EXPECT_TRUE(app::YearMark(n - 100) == 1 && app::YearMark(n - 150) == 3 && app::MarkerLabel(n - 200) == "#T1" &&
                app::MarkerNote(n - 250) == "#slump" && !app::Saved);
    EXPECT_TRUE(app::ViewLeft > 0 && app::ViewRight < n &&  // the section it showed, not the whole core
                said.contains(QStringLiteral("ready %1 %2\n").arg(app::ViewLeft).arg(app::ViewRight).toUtf8()));
    saveAs(dir.filePath("after.csv"));
    EXPECT_EQ(files::readFileBytes(dir.filePath("after.csv")).toStdString(),
              files::readFileBytes(dir.filePath("expected.csv")).toStdString());
    EXPECT_TRUE(QDir(recoveryFolder()).entryList({"recovery-*.csv"}, QDir::Files).isEmpty());  // saved: gone
}

// A copy cut short, foreign, from a newer program or damaged is refused with the reason.
TEST(RecoveryFile, ReadsBackWhatItWroteAndRefusesTheRest) {
    files::RecoveryCopy copy{1700000000123,
                             {"/c/core.bmp", 5000000000LL, 1700000000000},
                             {"/c/R.txt", 12, 3},
                             5,
                             90,
                             400,
                             {{3, 1}, {40, 9}},
                             {{7, "#T1, \"top\""}},
                             {{9, "#n"}}};
    const QByteArray bytes = files::writeRecoveryCopy(copy);
    copy.labels[0].second = "#T1, 'top'";  // the field syntax keeps a double quote as a single one
    EXPECT_EQ(files::readRecoveryCopy(bytes), copy);
    const auto reason = [](const QByteArray& b) {
        try {
            files::readRecoveryCopy(b);
        } catch (const files::RecoveryError& e) {
            return e.reason;
        }
        return QStringLiteral("read");
    };
    EXPECT_TRUE(reason(bytes.left(bytes.size() - 12)).contains("cut short"));
    EXPECT_TRUE(reason("\"filename\",\"position\"\r\n").contains("not a recovery copy"));
    EXPECT_TRUE(reason(QByteArray(bytes).replace("recovery\",1", "recovery\",2")).contains("newer version"));
    EXPECT_TRUE(reason(QByteArray(bytes).replace("\"marker\",40,", "\"marker\",401,")).contains("damaged"));
    EXPECT_TRUE(reason(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)).contains("not a recovery copy"));
    // A section outside the core, numbers past what they convert to, a line of separators.
    for (const char* section : {"\"section\",-2e9,2e9,400", "\"section\",5,401,400", "\"section\",5,90,1e300"})
        EXPECT_TRUE(reason(QByteArray(bytes).replace("\"section\",5,90,400", section)).contains("damaged")) << section;
    EXPECT_TRUE(reason(QByteArray(bytes).replace("\"written\",1700000000123", "\"written\",9e300")).contains("damaged"));
    EXPECT_TRUE(reason(bytes.left(30) + QByteArray(1 << 20, ',')).contains("cut short"));
}

// Copies left by programs no longer running that cannot be put back: said so once, set aside,
// nothing changed.
TEST_F(RecoveryTest, ACopyThatCannotBeUsedIsNamedAndSetAside) {
    QDir().mkpath(recoveryFolder());
    // Named as earlier versions named them, after a process: this one's and a running one's (1).
    const QString foreign = writeFile(
        recoveryFolder() + QStringLiteral("/recovery-%1.csv").arg(QCoreApplication::applicationPid()),
        "\"filename\",\"Fe\"\r\n");
    files::RecoveryCopy gone{1, {dir.filePath("gone.bmp"), 10, 1}, {dir.filePath("gone.csv"), 10, 1}, 0, 9, 10,
                             {{3, 1}}, {}, {}};
    const QString missing = writeFile(recoveryFolder() + "/recovery-1.csv", files::writeRecoveryCopy(gone));
    const auto messages = messagesAtStart();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.contains("cannot be used (It is not a recovery copy of Stratalyser.)"));
    EXPECT_TRUE(messages[1].text.contains("(1 boundaries, 0 labels, 0 notes), but ") &&
                messages[1].text.contains("gone.bmp no longer exists"));
    EXPECT_TRUE(!QFile::exists(foreign) && QFile::exists(foreign + ".unused") && QFile::exists(missing + ".unused"));
    EXPECT_FALSE(app::XrfLoaded);
}

// Written again only when the marks changed (each write replaces the file, so a new file means a
// write); a save removes it.
TEST_F(RecoveryTest, NoWriteWhileNothingChanged) {
    openSyntheticCore(400);
    importXrf(dir.filePath("Results.txt"));
    placeSection();
    QString copy;
    const auto written = [&copy, this] {
        app::WriteRecoveryCopy();
        app::FinishRecoveryWrite();
        const QStringList copies = QDir(recoveryFolder()).entryList({"recovery-*.csv"}, QDir::Files);
        if (copies.size() == 1) copy = QDir(recoveryFolder()).filePath(copies[0]);
        struct stat file {};
        return ::stat(QFile::encodeName(copy).constData(), &file) == 0 ? file.st_ino : 0;
    };
    keyAt(2, 120, Qt::Key_1);
    const auto first = written();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(written(), first);  // nothing changed
    keyAt(2, 140, Qt::Key_2);
    EXPECT_NE(written(), first);
    saveAs(dir.filePath("saved.csv"));
    EXPECT_FALSE(QFile::exists(copy));
}

// A copy written before its table was last saved is not offered at start, nor one left for another
// table when this one opens; a copy the user declines, or of a core of another length, is set aside,
// never deleted, and nothing changes; one that cannot be written is told once.
TEST_F(RecoveryTest, ADeclinedCopyIsKeptAsideAndAnUnwritableOneIsTold) {
    openSyntheticCore(400);
    QFile::copy(dir.filePath("Results.txt"), dir.filePath("Other.txt"));
    const auto record = [this](const char* name) {
        const QFileInfo f(dir.filePath(name));
        return files::RecoveredFile{f.absoluteFilePath(), f.size(), f.lastModified().toMSecsSinceEpoch()};
    };
    const auto leave = [&](const char* name, long length, qint64 fromNowMs = 1000) {
        QDir().mkpath(recoveryFolder());
        const files::RecoveryCopy c{QDateTime::currentMSecsSinceEpoch() + fromNowMs, record("core.bmp"),
                                    record("Results.txt"), 0, 10, length, {{100, 1}}, {}, {}};
        return writeFile(recoveryFolder() + "/" + name, files::writeRecoveryCopy(c));
    };
    const QString older = leave("recovery-0.csv", 400, -60000);  // Results.txt was written after it
    EXPECT_TRUE(messagesAtStart().empty() && !app::XrfLoaded);
    QFile::remove(older);
    const QString declined = leave("recovery-a.csv", 400);
    importXrf(dir.filePath("Other.txt"));
    EXPECT_TRUE(app::XrfLoaded && dialogs->shownOf(ui::ScriptedDialogs::Kind::Message).empty() && QFile::exists(declined));
    restart();
    openRadiograph(dir.filePath("core.bmp"));
    dialogs->answerOpen(dir.filePath("Results.txt")).answerMessage(ui::MessageResult::No);
    app::frmMain->importXrfButton->click();
    EXPECT_TRUE(!QFile::exists(declined) && QFile::exists(declined + ".unused"));
    const QString shorter = leave("recovery-b.csv", 399);
    restart();
    dialogs->answerMessage(ui::MessageResult::Yes);
    const auto messages = messagesAtStart();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].text.contains("but the radiograph now has 400 columns, the counting 399"));
    EXPECT_TRUE(app::XrfLoaded && app::YearMark(100) != 1 && QFile::exists(shorter + ".unused"));
    app::frmMain->QuitProgram();
    EXPECT_TRUE(QFile::exists(declined + ".unused") && QFile::exists(shorter + ".unused"));

    restart();
    app::setRecoveryFolder(dir.filePath("core.bmp"));  // a file, not a folder
    openRadiograph(dir.filePath("core.bmp"));
    importXrf(dir.filePath("Results.txt"));
    dialogs->clearRecord();
    for (const long p : {120, 140}) {
        keyAt(2, p, Qt::Key_1);
        app::WriteRecoveryCopy();
        app::FinishRecoveryWrite();
    }
    EXPECT_TRUE(onlyMessage().contains("cannot be written to ") && onlyMessage().contains("is not protected"));
}
