#include "files/XrfPlacement.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace files {

using core::Millimetres;

namespace {

constexpr double kNanometresPerMm = 1e6;
constexpr double kMicronsPerMm = 1000;
constexpr double kCoarserScanRatio = 1.1;  // columns per measurement, at least

// A record's count of positions "matches" a length when they differ by at most 1 % (two at least):
// the scanner's stop coordinate is rounded.
bool countMatches(long count, long length) {
    return std::labs(count - length) <= std::max(2L, length / 100);
}

// The measurements' positions from the table's position column, when every one is a number and
// they rise.
std::optional<std::vector<Millimetres>> tablePositions(const core::VariantTable& data, int rowCount) {
    std::vector<Millimetres> positions;
    positions.reserve(static_cast<std::size_t>(rowCount));
    for (int i = 1; i <= rowCount; ++i) {
        const core::Variant v = data(2, i);
        if (!v.isNumeric()) return std::nullopt;
        const Millimetres p(v.toDouble());
        if (!std::isfinite(p.value) || (!positions.empty() && !(p > positions.back()))) return std::nullopt;
        positions.push_back(p);
    }
    return positions;
}

// A record as it lies on `length` positions, and which "Step size" line gave its step when it has
// several (empty otherwise).
struct FittedRecord {
    ScanRecord record;
    QString note;
};

// `r` with the step of its first "Step size" line whose count of positions matches `length`;
// nothing when none does.
std::optional<FittedRecord> withStepFitting(const ScanRecord& r, long length) {
    if (!r.hasPositions()) return std::nullopt;
    if (r.steps.size() < 2) {
        if (!countMatches(r.positionCount(), length)) return std::nullopt;
        return FittedRecord{r, QString()};
    }
    for (const StepLine& step : r.steps) {
        ScanRecord fitted = r;
        fitted.stepMm = step.mm;
        if (!countMatches(fitted.positionCount(), length)) continue;
        return FittedRecord{std::move(fitted),
                            QStringLiteral("%1: %2 \"Step size\" lines; line %3 (%4 micron) fits the %5 positions, used")
                                .arg(r.fileName())
                                .arg(r.steps.size())
                                .arg(step.line)
                                .arg(step.mm * kMicronsPerMm)
                                .arg(length)};
    }
    return std::nullopt;
}

// The record chosen, its step line named in `notes`.
std::optional<ScanRecord> taken(std::optional<FittedRecord> chosen, QStringList& notes) {
    if (!chosen) return std::nullopt;
    if (!chosen->note.isEmpty()) notes << chosen->note;
    return std::move(chosen->record);
}

std::optional<ScanRecord> tableRecord(const std::vector<ScanRecord>& records, int rowCount, QStringList& notes) {
    std::optional<FittedRecord> found;
    for (const ScanRecord& r : records) {
        auto fitted = withStepFitting(r, rowCount);
        if (!fitted) continue;
        if (r.xrfOn == true) return taken(std::move(fitted), notes);
        if (!found) found = std::move(fitted);
    }
    return taken(std::move(found), notes);
}

}  // namespace

std::optional<ScanRecord> radiographRecord(const std::vector<ScanRecord>& records, int columns, QStringList& notes) {
    std::optional<FittedRecord> byLength;
    for (const ScanRecord& r : records) {
        if (!r.hasPositions()) continue;
        if (auto fitted = withStepFitting(r, columns)) {
            if (r.xrfOn == false) return taken(std::move(fitted), notes);
            if (!byLength) byLength = std::move(fitted);
        } else if (r.xrfOn == false) {
            notes << QStringLiteral("%1: %2 positions, not the radiograph's %3 columns (another section?), ignored")
                         .arg(r.fileName())
                         .arg(r.positionCount())
                         .arg(columns);
        }
    }
    return taken(std::move(byLength), notes);
}

std::optional<XrfPlacement> planXrfPlacement(const std::vector<ScanRecord>& besideRadiograph,
                                             const std::vector<ScanRecord>& besideTable, int columns,
                                             const core::VariantTable& data, int rowCount) {
    if (columns < 1 || rowCount < 2) return std::nullopt;
    XrfPlacement p;
    for (const auto* records : {&besideRadiograph, &besideTable}) {
        for (const ScanRecord& r : *records) {
            if (!r.note().isEmpty() && !p.notes.contains(r.note())) p.notes << r.note();
        }
    }
    const auto radiograph = radiographRecord(besideRadiograph, columns, p.notes);
    if (const auto positions = tablePositions(data, rowCount)) {
        p.rowPositions = *positions;
        p.rowStep = (positions->back() - positions->front()) / (rowCount - 1);
    } else if (const auto table = tableRecord(besideTable, rowCount, p.notes)) {
        p.rowStep = Millimetres(*table->stepMm);
        for (int i = 0; i < rowCount; ++i)
            p.rowPositions.push_back(Millimetres(*table->startMm) + p.rowStep * i);
    } else {
        return std::nullopt;
    }
    if (!(p.rowStep.value > 0)) return std::nullopt;
    if (radiograph) {
        p.positions = {Millimetres(*radiograph->startMm), Millimetres(*radiograph->stepMm)};
        p.fromRunRecords = true;
    } else {
        // The radiograph covers the stretch the measurements cover, each measurement one step:
        // taken so only for a clearly coarser scan. A table a row or two off its radiograph, or
        // finer than it, is a wrong pair of files, not another step.
        if (columns < kCoarserScanRatio * rowCount) return std::nullopt;
        p.positions.step = p.rowStep * rowCount / columns;
        p.positions.first = p.rowPositions.front() - p.rowStep / 2 + p.positions.step / 2;
    }
    // The two must lie over each other somewhere.
    const Millimetres last = p.positions.at(core::Position(columns));
    if (last < p.rowPositions.front() || p.positions.first > p.rowPositions.back()) return std::nullopt;
    return p;
}

core::VariantTable placeXrfOnColumns(const core::VariantTable& data, int fieldCount, const XrfPlacement& placement,
                                     int columns) {
    const std::vector<Millimetres>& rows = placement.rowPositions;
    core::VariantTable placed(data.lower1(), data.upper1(), data.lower2(), std::max<long>(data.upper2(), columns));
    placed.reserve(fieldCount, columns);
    const Millimetres reach = placement.rowStep / 2;  // a measurement stands for half a step either side
    std::size_t nearest = 0;
    for (long position = 1; position <= columns; ++position) {
        // Kept to the nanometre, so that 0.2 mm steps are written as 0.6, not 0.6000000000000001.
        const double at =
            std::round(placement.positions.at(core::Position(position)).value * kNanometresPerMm) /
            kNanometresPerMm;
        while (nearest + 1 < rows.size() &&
               std::abs(rows[nearest + 1].value - at) <= std::abs(rows[nearest].value - at))
            ++nearest;
        const long row = static_cast<long>(nearest) + 1;
        if (at < (rows.front() - reach).value || at > (rows.back() + reach).value) {
            placed.copyCell(data, 1, row, 1, position);
            for (int field = 3; field <= fieldCount; ++field)
                placed.setNumber(field, position, kMissingMeasurement);
        } else {
            placed.copyCells(data, 1, row, 1, position, fieldCount);
        }
        placed.setNumber(2, position, at);
    }
    return placed;
}

}  // namespace files
