// A chronology file (the table Save chronology writes, of this or an earlier version) over any bytes:
// read, and then written again, in the archive forms, made the plot's series and joined below itself
// as Join chronologies would: a result, or a ChronologyError with its reason; never a fault.
#include <cstddef>
#include <cstdint>

#include "chronology/ChronologyPlot.h"
#include "files/Chronology.h"
#include "files/ChronologyArchive.h"
#include "files/ChronologyJoin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const std::vector<files::Varve> varves =
            files::readChronology(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (files::readChronology(files::writeChronology(varves)).size() != varves.size()) __builtin_trap();
        const files::ArchiveHeader header{"site", "core", {}, "3", "fuzz"};
        (void)files::writeNoaaTemplate(varves, header);
        (void)files::writeLipdTable(varves);
        const chronology::ChronologyFigure figure = chronology::chronologyFigure(varves);
        std::vector<double> x, y;
        for (const chronology::AgePoint& p : figure.ageDepth) x.push_back(p.depthMm), y.push_back(p.age);
        (void)chronology::keptForDrawing(x, y, x.empty() ? 0 : x.front(), x.empty() ? 1 : x.back(), 50);
        std::vector<files::LayerCheck> checks;
        for (const auto& s : files::sharedLayers(varves, varves, "A", "B")) (void)s;
        (void)files::joinTwo(varves, varves, {files::Tie::Kind::Depth, {}, varves.empty() ? 0 : varves.back().compositeTopMm}, checks);
    } catch (const files::ChronologyError&) {
    }
    return 0;
}
