// Replays saved inputs through a fuzz target without libFuzzer: every file under the folders
// named on the command line (the target's seeds and the inputs fuzzing once found faults with)
// goes through the target's function, so a fault found once fails the ordinary test run ever
// after. The sanitizers of the build catch what the function does not report.
#include <QDirIterator>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// A target that keeps a program between inputs ends it here, before the process's own ending
// takes the libraries' state away.
extern "C" __attribute__((weak)) void StratalyserFuzzTearDown();

int main(int argc, char* argv[]) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        QDirIterator files(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
            ++replayed;
        }
    }
    if (StratalyserFuzzTearDown) StratalyserFuzzTearDown();
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;  // no input at all: the folders are wrong
}
