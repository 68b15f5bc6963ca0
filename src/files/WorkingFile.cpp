#include "files/WorkingFile.h"

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

QByteArray writeWorkingFile(const WorkingFileSource& s) {
    FieldWriter w;
    w.writeLine({Variant(s.headers(0))});
    w.writeLine({Variant("varvecounting")});
    w.writeLine({Variant("peakarea")});
    std::vector<Variant> line;
    line.reserve(static_cast<std::size_t>(s.columnCount) + 4);
    line.emplace_back("filename");
    for (int h = 1; h <= s.columnCount - 1; ++h) line.emplace_back(s.headers(h));
    for (const char* name : {"greyscale", "year", "marker", "note"}) line.emplace_back(name);
    w.writeLine(line);
    for (int i = 1; i <= s.dataLength; ++i) {
        line.clear();
        for (int j = 1; j <= s.columnCount; ++j) line.push_back(s.xrf(j, i));
        line.push_back(s.profile(0, i));
        line.push_back(s.yearMark(i));
        line.emplace_back(s.markerLabel(i));
        line.emplace_back(s.markerNote(i));
        w.writeLine(line);
    }
    return w.bytes();
}

}  // namespace files
