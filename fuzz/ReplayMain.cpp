// Replays saved inputs through a fuzz target without libFuzzer: every file under the folders
// named on the command line (the target's seeds and the inputs fuzzing once found faults with)
// goes through the target's function, so a fault found once fails the ordinary test run ever
// after. The sanitizers of the build catch what the function does not report.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
// A target that keeps a program between inputs ends it here, before the process's own ending
// takes the libraries' state away.
extern "C" __attribute__((weak)) void StratalyserFuzzTearDown();

int main(int argc, char* argv[]) {
    // The files first: a target may change the working folder when it starts.
    QStringList paths;
    for (int i = 1; i < argc; ++i) {
        QDirIterator files(QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath(), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) paths << files.next();
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    }
    if (StratalyserFuzzTearDown) StratalyserFuzzTearDown();
    std::printf("%lld inputs replayed\n", static_cast<long long>(paths.size()));
    return paths.isEmpty() ? 1 : 0;  // no input at all: the folders are wrong
}
