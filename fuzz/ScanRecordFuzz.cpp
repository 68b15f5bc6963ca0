// The scanner's run record (document.txt) over any bytes, then used to place a small table onto a
// radiograph as the XRF import does: a placement, or none; never a fault.
#include <cstddef>
#include <cstdint>

#include "files/ScanRecord.h"
#include "files/XrfPlacement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const files::ScanRecord record =
        files::parseScanRecord(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    (void)record.note();
    constexpr int kRows = 8, kFields = 10;
    core::VariantTable table(0, kFields, 0, kRows);
    for (int i = 1; i <= kRows; ++i) table.setNumber(2, i, 0.5 * i);
    for (const int columns : {1, 20, static_cast<int>(record.positionCount() % 4000)}) {
        if (const auto plan = files::planXrfPlacement({record}, {record}, columns, table, kRows))
            (void)files::placeXrfOnColumns(table, kFields, *plan, columns);
    }
    return 0;
}
