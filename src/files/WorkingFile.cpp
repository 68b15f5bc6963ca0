#include "files/WorkingFile.h"

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

QByteArray writeWorkingFile(const WorkingFileSource& s) {
    FieldWriter w;
    // About as many bytes as the table had when it was read: a few per number.
    w.reserve(static_cast<qsizetype>(s.dataLength) * (s.columnCount + 4) * 8 + 4096);
    w.writeLine({Variant(s.headers(0))});
    w.writeLine({Variant("varvecounting")});
    w.writeLine({Variant("peakarea")});
    w.field(Variant("filename"));
    for (int h = 1; h <= s.columnCount - 1; ++h) w.field(Variant(s.headers(h)));
    for (const char* name : {"greyscale", "year", "marker", "note"}) w.field(Variant(name));
    w.endLine();
    for (int i = 1; i <= s.dataLength; ++i) {
        for (int j = 1; j <= s.columnCount; ++j) w.field(s.xrf(j, i));
        w.field(s.profile(0, i));
        w.field(s.yearMark(i));
        w.field(Variant(s.markerLabel(i)));
        w.field(Variant(s.markerNote(i)));
        w.endLine();
    }
    return w.takeBytes();
}

}  // namespace files
