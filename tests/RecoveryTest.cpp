// The recovery copy: a count killed midway comes back at the next start; the copy's reader meets
// bad input.
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
};

// The child's part of the test below, run in its own process (the variable names the folder of
// the core's files); skipped in the suite itself. It counts with the keys, writes what Save would
// write now, waits for its recovery copy and stays until it is killed.
TEST_F(RecoveryTest, ChildCountsUntilKilled) {
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty()) GTEST_SKIP() << "the other process of ACountKilledMidwayIsRecoveredAtTheNextStart";
    app::setRecoveryFolder(folder + QStringLiteral("/recovery"));
    openRadiograph(folder + QStringLiteral("/core.bmp"));
    importXrf(folder + QStringLiteral("/Results.txt"));
    placeSection();
    keyAt(2, 100, Qt::Key_1);
    keyAt(3, 150, Qt::Key_3);
    keyAt(2, 200, Qt::Key_L);
    QTest::keyClicks(app::frmLaminaName->Text1, "T1");
    app::frmLaminaName->Command1->click();
    keyAt(2, 250, Qt::Key_N);
    QTest::keyClicks(app::frmNote->Text1, "slump");
    app::frmNote->Command1->click();
    // As a save writes them: a text emptied in its dialog ("#---") is stored as none.
    core::Array<QString> labels = app::MarkerLabel, notes = app::MarkerNote;
    for (core::Array<QString>* texts : {&labels, &notes})
        for (long p = 0; p <= texts->upper(); ++p) (*texts)(p) = (*texts)(p) == "#---" ? "---" : (*texts)(p);
    writeFile(folder + QStringLiteral("/expected.csv"),
              files::writeWorkingFile({static_cast<int>(app::DataLength), app::XrfColumnCount, app::XrfHeaders,
                                       app::XrfData, app::Profile, app::YearMark, labels, notes}));
    const QDir copies(folder + QStringLiteral("/recovery"));
    QTRY_VERIFY_WITH_TIMEOUT(!copies.entryList({"recovery-*.csv"}, QDir::Files).isEmpty(), 120000);
    std::printf("ready\n");
    std::fflush(stdout);
    QEventLoop().exec();  // until killed
}

TEST_F(RecoveryTest, ACountKilledMidwayIsRecoveredAtTheNextStart) {
    openSyntheticCore(400);  // its files in this test's folder
    restart();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildFolder, dir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryTest.ChildCountsUntilKilled"});
    QByteArray said;
    while (!said.contains("ready\n") && child.waitForReadyRead(300000)) said += child.readAllStandardOutput();
    ASSERT_TRUE(said.contains("ready\n")) << said.constData();
    child.kill();  // SIGKILL: no chance to save or clean up
    child.waitForFinished();

    dialogs->answerMessage(ui::MessageResult::Yes);
    start();
    app::OfferRecoveryAtStart();  // as the program does once its windows are up
    EXPECT_TRUE(onlyMessage().startsWith("Unsaved counting from ") &&
                onlyMessage().endsWith(" was found (2 boundaries, 1 labels, 1 notes). Recover it?"))
        << onlyMessage().toStdString();
    ASSERT_TRUE(app::XrfLoaded);
    EXPECT_TRUE(app::YearMark(100) == 1 && app::YearMark(150) == 3 && app::MarkerLabel(200) == "#T1" &&
                app::MarkerNote(250) == "#slump" && !app::Saved);
    EXPECT_TRUE(app::ViewLeft == 0 && app::ViewRight == 400);  // the section it showed
    dialogs->answerSave(dir.filePath("after.csv"));
    app::frmMain->mnuSaveAs->trigger();
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
}

// Copies left by programs no longer running that cannot be put back: said so once, set aside,
// nothing changed; one for other files is not offered when a core is opened.
TEST_F(RecoveryTest, ACopyThatCannotBeUsedIsNamedAndSetAside) {
    QDir().mkpath(recoveryFolder());
    const QString foreign = writeFile(recoveryFolder() + "/recovery-2147483646.csv", "\"filename\",\"Fe\"\r\n");
    files::RecoveryCopy gone{1, {dir.filePath("gone.bmp"), 10, 1}, {dir.filePath("gone.csv"), 10, 1}, 0, 9, 10,
                             {{3, 1}}, {}, {}};
    const QString missing = writeFile(recoveryFolder() + "/recovery-2147483645.csv", files::writeRecoveryCopy(gone));
    start();
    app::OfferRecoveryAtStart();
    const auto messages = dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
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
    const QString copy = QDir(recoveryFolder()).filePath(
        QStringLiteral("recovery-%1.csv").arg(QCoreApplication::applicationPid()));
    const auto written = [&copy] {
        app::WriteRecoveryCopy();
        app::FinishRecoveryWrite();
        struct stat file {};
        return ::stat(QFile::encodeName(copy).constData(), &file) == 0 ? file.st_ino : 0;
    };
    keyAt(2, 120, Qt::Key_1);
    const auto first = written();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(written(), first);  // nothing changed
    keyAt(2, 140, Qt::Key_2);
    EXPECT_NE(written(), first);
    dialogs->answerSave(dir.filePath("saved.csv"));
    app::frmMain->mnuSaveAs->trigger();
    EXPECT_FALSE(QFile::exists(copy));
}
