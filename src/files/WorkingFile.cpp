#include "files/WorkingFile.h"

#include <future>

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

namespace {

// Data rows from..to (inclusive), each ended by CR LF; room for about as many bytes as the table had
// when it was read (a few a number) is taken at once.
void writeRows(FieldWriter& w, const WorkingFileSource& s, int from, int to) {
    w.reserve(static_cast<qsizetype>(to - from + 1) * (s.columnCount + 4) * 8 + 4096);
    for (int i = from; i <= to; ++i) {
        for (int j = 1; j <= s.columnCount; ++j) {
            double number = 0;
            s.xrf.numberAt(j, i, number) ? w.field(number) : w.field(s.xrf(j, i));
        }
        w.field(s.profile(0, i));
        w.field(s.yearMark(i));
        w.field(Variant(s.markerLabel(i)));
        w.field(Variant(s.markerNote(i)));
        w.endLine();
    }
}

// A table of more rows is written in two halves at once, the lower one on the second core: a
// section of 100000 rows is saved in about half the time. The halves only read the count.
constexpr int kRowsForTwoHalves = 20000;

}  // namespace

std::vector<std::string> workingFileParts(const WorkingFileSource& s) {
    FieldWriter w;
    w.writeLine({Variant(s.headers(0))});
    w.writeLine({Variant("varvecounting")});
    w.writeLine({Variant("peakarea")});
    w.field(Variant("filename"));
    for (int h = 1; h <= s.columnCount - 1; ++h) w.field(Variant(s.headers(h)));
    for (const char* name : {"greyscale", "year", "marker", "note"}) w.field(Variant(name));
    w.endLine();
    if (s.dataLength < kRowsForTwoHalves) {
        writeRows(w, s, 1, s.dataLength);
        return {w.takeText()};
    }
    const int half = s.dataLength / 2;
    FieldWriter lower;
    std::future<void> lowerWritten =
        std::async(std::launch::async, [&] { writeRows(lower, s, half + 1, s.dataLength); });
    try {
        writeRows(w, s, 1, half);
    } catch (...) {
        lowerWritten.wait();  // it reads what the caller holds: never left running
        throw;
    }
    lowerWritten.get();  // its error, if any, as the upper half's would be
    return {w.takeText(), lower.takeText()};
}

QByteArray writeWorkingFile(const WorkingFileSource& s) {
    QByteArray joined;
    for (const std::string& part : workingFileParts(s)) joined += QByteArrayView(part.data(), static_cast<qsizetype>(part.size()));
    return joined;
}

}  // namespace files
