#include "files/ScanRecord.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "core/Errors.h"
#include "files/TextFile.h"

namespace files {

namespace {

QString keyOf(const QString& cell) {
    QString k = cell.trimmed().toLower();
    if (k.endsWith(QLatin1Char(':'))) k.chop(1);
    return k.trimmed();
}

// A number as the scanner writes it ("0.0", "450", "12,5" on a comma-decimal machine); nothing for
// any other text.
std::optional<double> numberIn(const QString& cell) {
    QString text = cell.trimmed();
    if (!text.contains(QLatin1Char('.'))) text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

constexpr double kMicronsPerMm = 1000;
constexpr long kMostPositions = 1'000'000'000;  // far beyond any scan

}  // namespace

long ScanRecord::positionCount() const {
    if (!hasPositions()) return 0;
    // A step far too small for its stretch (a damaged record) counts as "more than any table".
    const double count = std::round((*stopMm - *startMm) / *stepMm) + 1;
    return count < kMostPositions ? static_cast<long>(count) : kMostPositions;
}

QString ScanRecord::note() const {
    if (ignored.isEmpty()) return QString();
    return fileName() + QStringLiteral(": ") + ignored.first();
}

QString ScanRecord::fileName() const {
    return QFileInfo(path).fileName();
}

ScanRecord parseScanRecord(const QByteArray& bytes, const QString& path) {
    ScanRecord r;
    r.path = path;
    if (bytes.contains('\0')) {
        r.ignored << QStringLiteral("not a text file, ignored");
        return r;
    }
    QList<QStringList> lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        lines << QString::fromUtf8(line).split(QLatin1Char('\t'));
    }
    bool stepNotAboveZero = false;  // a "Step size" of 0 or less
    auto number = [&r](const QString& name, const QString& cell, std::optional<double>& into) {
        if (const auto v = numberIn(cell)) {
            into = v;
        } else {
            r.ignored << QStringLiteral("\"%1\" is not a number (%2), ignored").arg(name, cell.trimmed());
        }
    };
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QStringList& cells = lines[l];
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString key = keyOf(cells[c]);
            const QString next = c + 1 < cells.size() ? cells[c + 1] : QString();
            if (key == QLatin1String("section name")) {
                if (l + 1 < lines.size() && c < lines[l + 1].size()) r.sectionName = lines[l + 1][c].trimmed();
            } else if (key == QLatin1String("start coordinate")) {
                number(QStringLiteral("Start coordinate"), next, r.startMm);
            } else if (key == QLatin1String("stop coordinate")) {
                number(QStringLiteral("Stop coordinate"), next, r.stopMm);
            } else if (key == QLatin1String("optical start")) {
                number(QStringLiteral("Optical Start"), next, r.opticalStartMm);
            } else if (key == QLatin1String("optical end")) {
                number(QStringLiteral("Optical End"), next, r.opticalEndMm);
            } else if (key == QLatin1String("step size")) {
                // A record may hold more than one (a real one: "200 microns", later "0.188
                // microns"): each is kept, the first is the record's step until a placement
                // chooses the one that fits its radiograph.
                std::optional<double> step;
                number(QStringLiteral("Step size"), next, step);
                const QString unit = c + 2 < cells.size() ? keyOf(cells[c + 2]) : QString();
                if (step && unit != QLatin1String("mm")) *step /= kMicronsPerMm;
                if (step && *step > 0) r.steps.push_back({*step, static_cast<int>(l + 1)});
                stepNotAboveZero = stepNotAboveZero || (step && !(*step > 0));
            } else if (key == QLatin1String("xrf")) {
                const QString state = keyOf(next);
                if (state == QLatin1String("on")) r.xrfOn = true;
                if (state == QLatin1String("off")) r.xrfOn = false;
            }
        }
    }
    // Positions only when they make sense together; otherwise none, with the reason.
    if (!r.steps.empty()) {
        r.stepMm = r.steps.front().mm;
    } else if (stepNotAboveZero) {
        r.ignored << QStringLiteral("the step size is not above zero, ignored");
    }
    if (r.startMm && r.stopMm && !(*r.startMm < *r.stopMm)) {
        r.ignored << QStringLiteral("the start coordinate is not before the stop coordinate, ignored");
        r.startMm.reset();
        r.stopMm.reset();
    }
    if (r.opticalStartMm && r.opticalEndMm && !(*r.opticalStartMm < *r.opticalEndMm)) {
        r.ignored << QStringLiteral("the optical start is not before the optical end, ignored");
        r.opticalStartMm.reset();
        r.opticalEndMm.reset();
    }
    if (!r.hasPositions() && !r.opticalStartMm && r.ignored.isEmpty())
        r.ignored << QStringLiteral("no start, stop and step size in it, ignored");
    return r;
}

std::vector<ScanRecord> scanRecordsBeside(const QString& file) {
    std::vector<ScanRecord> records;
    if (file.isEmpty()) return records;
    const QDir folder = QFileInfo(file).absoluteDir();
    const QStringList names = folder.entryList({QStringLiteral("*document.txt")}, QDir::Files | QDir::Readable,
                                               QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        try {
            records.push_back(parseScanRecord(readFileBytes(path, kMaxScanRecordBytes), path));
        } catch (const core::RuntimeError& e) {
            ScanRecord r;
            r.path = path;
            r.ignored << QStringLiteral("cannot be read (%1), ignored").arg(QString::fromStdString(e.what()));
            records.push_back(r);
        }
    }
    return records;
}

}  // namespace files
