#include "files/PhotoPlacement.h"

#include <QFileInfo>
#include <cmath>

#include "files/XrfPlacement.h"

namespace files {

using core::Millimetres;

namespace {

// A photo this many times longer than the radiograph is another core's (a whole core's photo
// over a 10 cm radiograph is still placed).
constexpr double kLongestPhotoRatio = 20;

QString fileNameOf(const ScanRecord& r) {
    return QFileInfo(r.path).fileName();
}

QString mm(Millimetres v) {
    return QString::number(std::round(v.value * 100) / 100);
}

const ScanRecord* photoRecord(const std::vector<ScanRecord>& records) {
    for (const ScanRecord& r : records) {
        if (r.opticalStartMm && r.opticalEndMm) return &r;
    }
    return nullptr;
}

}  // namespace

std::optional<core::PositionScale> tableColumnPositions(const core::VariantTable& data, int rowCount) {
    if (rowCount < 2 || !data(2, 1).isNumeric() || !data(2, rowCount).isNumeric()) return std::nullopt;
    const double first = data(2, 1).toDouble(), last = data(2, rowCount).toDouble();
    const double step = (last - first) / (rowCount - 1);
    if (!std::isfinite(first) || !std::isfinite(step) || !(step > 0)) return std::nullopt;
    return core::PositionScale{Millimetres(first), Millimetres(step)};
}

PhotoPlan planPhotoPlacement(const std::vector<ScanRecord>& besidePhoto,
                             const std::vector<ScanRecord>& besideTable,
                             const std::vector<ScanRecord>& besideRadiograph, int columns,
                             std::optional<core::PositionScale> fromTable) {
    PhotoPlan plan;
    const ScanRecord* photo = photoRecord(besidePhoto);
    if (!photo) photo = photoRecord(besideTable);
    if (!photo) photo = photoRecord(besideRadiograph);
    for (const auto* records : {&besidePhoto, &besideTable, &besideRadiograph}) {
        for (const ScanRecord& r : *records) {
            if (!r.note().isEmpty() && !plan.notes.contains(r.note())) plan.notes << r.note();
        }
    }
    if (!photo || columns < 1) return plan;

    const auto radiograph = radiographRecord(besideRadiograph, columns, plan.notes);
    core::PositionScale positions;
    if (radiograph) {
        positions = {Millimetres(*radiograph->startMm), Millimetres(*radiograph->stepMm)};
    } else if (fromTable) {
        positions = *fromTable;
    } else {
        plan.notes << QStringLiteral("%1: no run record or XRF table gives the radiograph's positions, ignored")
                          .arg(fileNameOf(*photo));
        return plan;
    }

    PhotoPlacement p{Millimetres(*photo->opticalStartMm), Millimetres(*photo->opticalEndMm), positions,
                     columns, fileNameOf(*photo)};
    const Millimetres radiographStart = positions.first - positions.step / 2;
    const Millimetres radiographEnd = radiographStart + positions.step * columns;
    if (radiograph && !radiograph->sectionName.isEmpty() && !photo->sectionName.isEmpty() &&
        radiograph->sectionName.compare(photo->sectionName, Qt::CaseInsensitive) != 0) {
        plan.notes << QStringLiteral("%1: section \"%2\", not the radiograph's \"%3\", ignored")
                          .arg(p.source, photo->sectionName, radiograph->sectionName);
    } else if (p.photoEnd <= radiographStart || p.photoStart >= radiographEnd) {
        plan.notes << QStringLiteral(
                          "%1: the photo covers %2 to %3 mm, the radiograph %4 to %5 mm (another "
                          "section?), ignored")
                          .arg(p.source, mm(p.photoStart), mm(p.photoEnd), mm(radiographStart),
                               mm(radiographEnd));
    } else if (p.photoEnd - p.photoStart > (radiographEnd - radiographStart) * kLongestPhotoRatio) {
        plan.notes << QStringLiteral(
                          "%1: the photo's %2 mm are far longer than the radiograph's %3 mm (another "
                          "section?), ignored")
                          .arg(p.source, mm(p.photoEnd - p.photoStart), mm(radiographEnd - radiographStart));
    } else {
        plan.placement = p;
    }
    return plan;
}

}  // namespace files
