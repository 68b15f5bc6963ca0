// A save killed at any moment leaves the old file or the new one, whole: a child process saves a
// working file and the settings file over older ones and is killed (SIGKILL) at a random moment
// of the save, many times.
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

void killSelf(int) {
    raise(SIGKILL);
}

// In a child: SIGKILL after `micros`, while saving `bytes` to `path` over and over.
pid_t saveUntilKilled(const QString& path, const QByteArray& bytes, long micros) {
    const pid_t child = fork();
    if (child != 0) return child;
    std::signal(SIGALRM, killSelf);
    itimerval timer{};
    timer.it_value.tv_sec = micros / 1000000;
    timer.it_value.tv_usec = std::max(1L, micros % 1000000);
    setitimer(ITIMER_REAL, &timer, nullptr);
    for (;;) files::saveFileBytes(path, bytes);
}

void expectOldOrNewAfterKills(const QString& path, const QByteArray& before, const QByteArray& after, int rounds) {
    files::saveFileBytes(path, before);
    QElapsedTimer t;
    t.start();
    files::saveFileBytes(path, after);
    // Kill moments spread over about three saves, so that every stage of one is hit.
    const long saveMicros = std::max<long>(50, static_cast<long>(t.nsecsElapsed() / 1000));
    std::mt19937 random(7);
    std::uniform_int_distribution<long> moment(0, 3 * saveMicros);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < rounds; ++round) {
        files::saveFileBytes(path, before);
        const pid_t child = saveUntilKilled(path, after, moment(random));
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;
        const QByteArray onDisk = files::readFileBytes(path);
        ASSERT_TRUE(onDisk == before || onDisk == after)
            << "round " << round << ": " << onDisk.size() << " bytes, neither the old nor the new file";
        (onDisk == before ? sawOld : sawNew)++;
    }
    // Both outcomes happened: the kills fell before and after the file was replaced.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

}  // namespace

TEST(CrashSafeSaveTest, AKilledSaveLeavesTheOldOrTheNewWorkingFile) {
    QTemporaryDir dir;
    const synth::VarvedCore core = synth::makeVarvedCore(3000, 10);
    const QByteArray before = synth::makeXrfTable(core, false, 40);
    QByteArray after = before;
    after.replace("\"", "'");  // another file of about the same size
    after.append(after.left(100000));
    expectOldOrNewAfterKills(dir.filePath(QStringLiteral("core.csv")), before, after, 40);
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
    expectOldOrNewAfterKills(dir.filePath(QStringLiteral("Stratalyser_References.csv")), before, after, 40);
}
