// A save killed at any moment leaves the old file or the new one, whole. A child process saves a
// working file or the settings file over an older one and is killed (SIGKILL): first at each stage
// of the save in turn, then, as a soak, at random moments timed from the child's own save.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <random>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SynthCore.h"
#include "TestSupport.h"
#include "core/BoundedArray.h"
#include "core/Variant.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"

namespace {

using files::SaveStage;

SaveStage stageToDieAt = SaveStage::TemporaryOpen;

// Runs `child` in a child process, which must end killed; returns the bytes it wrote to its pipe.
template <typename Child>
QByteArray runKilledChild(Child child) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) ADD_FAILURE() << "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        child(pipeEnds[1]);
        _exit(0);  // a child that was not killed ends normally, and the parent says so
    }
    close(pipeEnds[1]);
    QByteArray reports;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) reports.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child was not killed";
    return reports;
}

using Save = void (*)(const QString& path, const QByteArray& bytes);

void expectOldOrNewAfterKills(const QString& path, const QByteArray& before, const QByteArray& after,
                              Save save = files::saveFileBytes) {
    const QString folder = QFileInfo(path).absolutePath();
    // Each stage in turn: up to the rename the old file stands, from it on the new one; never a
    // temporary file left beside it.
    for (const SaveStage stage :
         {SaveStage::TemporaryOpen, SaveStage::HalfWritten, SaveStage::Written, SaveStage::Replaced}) {
        files::saveFileBytes(path, before);
        runKilledChild([&](int) {
            stageToDieAt = stage;
            files::setSaveStageHook([](SaveStage at) { if (at == stageToDieAt) raise(SIGKILL); });
            save(path, after);
        });
        EXPECT_EQ(files::readFileBytes(path), stage == SaveStage::Replaced ? after : before) << "stage " << int(stage);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()})
            << "killed at stage " << int(stage);
    }
    // Soak: the child times one save of its own, then saves over and over until a timer kills it at
    // a random moment within about three saves, reporting each finished save through the pipe.
    for (int round = 0; round < 20; ++round) {
        files::saveFileBytes(path, before);
        const QByteArray reports = runKilledChild([&](int pipeEnd) {
            QElapsedTimer t;
            t.start();
            save(path + QStringLiteral(".timing"), after);
            const long saveMicros = std::max<long>(50, static_cast<long>(t.nsecsElapsed() / 1000));
            std::mt19937 random(round);
            const long micros = std::uniform_int_distribution<long>(1, 3 * saveMicros)(random);
            std::signal(SIGALRM, [](int) { raise(SIGKILL); });
            itimerval timer{};
            timer.it_value.tv_sec = micros / 1000000;
            timer.it_value.tv_usec = micros % 1000000;
            setitimer(ITIMER_REAL, &timer, nullptr);
            for (;;) {
                save(path, after);
                if (write(pipeEnd, "s", 1) != 1) return;
            }
        });
        QFile::remove(path + QStringLiteral(".timing"));
        const QByteArray onDisk = files::readFileBytes(path);
        ASSERT_TRUE(onDisk == before || onDisk == after)
            << "round " << round << ": " << onDisk.size() << " bytes, neither the old nor the new file";
        if (!reports.isEmpty()) {
            EXPECT_EQ(onDisk, after) << "round " << round << ": a finished save was lost";
        }
    }
}

}  // namespace

TEST(CrashSafeSaveTest, AKilledSaveLeavesTheOldOrTheNewWorkingFile) {
    QTemporaryDir dir;
    const synth::VarvedCore core = synth::makeVarvedCore(3000, 10);
    const QByteArray before = synth::makeXrfTable(core, false, 40);
    QByteArray after = before;
    after.replace("\"", "'");  // another file of about the same size
    after.append(after.left(100000));
    // A large working file is saved in parts (its halves): here three, the middle one holding the half.
    expectOldOrNewAfterKills(dir.filePath(QStringLiteral("core.csv")), before, after, [](const QString& path, const QByteArray& bytes) {
        const std::string text = bytes.toStdString();
        files::saveFileParts(path, {text.substr(0, 10), text.substr(10, text.size() / 2), text.substr(10 + text.size() / 2)});
    });
}

TEST(CrashSafeSaveTest, AKilledSaveLeavesTheOldOrTheNewSettingsFile) {
    QTemporaryDir dir;
    core::Array2<core::Variant> table(0, 3, 0, 100);
    files::readSettings(files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv")),
                        table);
    const QByteArray before = files::writeSettings(table);
    table(3, 6) = core::Variant(1234.0f);
    table(3, 31) = core::Variant(255.0f);
    const QByteArray after = files::writeSettings(table);
    ASSERT_NE(before, after);
    expectOldOrNewAfterKills(dir.filePath(QStringLiteral("Stratalyser_References.csv")), before, after);
}
