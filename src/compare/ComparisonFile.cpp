#include "compare/ComparisonFile.h"

#include <algorithm>

#include "files/FieldSyntax.h"
#include "files/XrfFile.h"

namespace compare {

using core::Variant;

namespace {

constexpr int kWorkingColumns = 4;  // grey, year, marker, note after the XRF fields

void levels(files::FieldWriter& w, const std::array<int, kLevels + 1>& counts) {
    for (int k = 1; k <= kLevels; ++k) w.field(Variant(counts[static_cast<std::size_t>(k)]));
}

void empties(files::FieldWriter& w, int n) {
    for (int i = 0; i < n; ++i) w.field(Variant());
}

Variant levelOrEmpty(int level) {
    return level > 0 ? Variant(level) : Variant();
}

Variant row(long position) {
    return Variant(static_cast<int>(position));
}

files::XrfContents readTable(const QByteArray& bytes) {
    try {
        return files::readXrfTable(bytes);
    } catch (const files::XrfFormatError&) {
        throw files::XrfReadError(
            QStringLiteral("It is not a working file of Stratalyser (no table of XRF data "
                           "and markers was found in it)."));
    }
}

void tallyRow(files::FieldWriter& w, const char* kind, long first, long last, const QString& label,
              const Tally& t, const std::function<core::Millimetres(core::Position)>& positionMm) {
    w.field(Variant(kind));
    empties(w, 6);
    w.field(row(first));
    w.field(row(last));
    w.field(Variant(positionMm(core::Position(first)).value));
    w.field(Variant(positionMm(core::Position(last)).value));
    w.field(Variant(files::typedText(label)));
    levels(w, t.own);
    levels(w, t.reference);
    for (const int n : {t.matched, t.onlyOwn, t.onlyReference, t.ownYears, t.referenceYears, t.yearDifference()})
        w.field(Variant(n));
    w.endLine();
}

}  // namespace

ReferenceCount readReferenceCount(const QByteArray& bytes, int dataLength) {
    const files::XrfContents contents = readTable(bytes);
    if (!contents.workingFile) {
        throw files::XrfReadError(
            QStringLiteral("It is an XRF data table, not a working file: only a count "
                           "saved by Stratalyser can be compared."));
    }
    if (contents.rowCount != dataLength) {
        throw files::XrfReadError(QStringLiteral("Its count has %1 positions, but this core has %2: only a count "
                                                 "of the same core can be compared.")
                                      .arg(contents.rowCount)
                                      .arg(dataLength));
    }
    files::checkWorkingColumns(contents);
    const int year = contents.columnCount - kWorkingColumns + 2;
    ReferenceCount count;
    for (int i = 1; i <= contents.rowCount; ++i) {
        const Variant mark = contents.data(year, i);
        if (mark.isNumeric()) count.boundaries.push_back({i, static_cast<int>(mark.toDouble())});
        const QString label = contents.data(year + 1, i).toString();
        if (files::isStoredText(label)) count.labels.emplace_back(i, label);
    }
    return count;
}

std::vector<std::pair<long, QString>> labelledPositions(long dataLength, const std::function<QString(long)>& labelAt) {
    std::vector<std::pair<long, QString>> labels;
    for (long p = 1; p <= dataLength; ++p) {
        QString label = labelAt(p);
        if (files::isStoredText(label)) labels.emplace_back(p, std::move(label));
    }
    return labels;
}

QByteArray writeComparison(std::span<const Disagreement> disagreements, const Comparison& comparison,
                           std::span<const std::pair<long, QString>> ownLabels,
                           const std::function<core::Millimetres(core::Position)>& positionMm) {
    files::FieldWriter w;
    for (const char* name : {"kind", "row", "mm", "level", "reference_level", "label_above", "label_below", "first_row",
                             "last_row", "top_mm", "bottom_mm", "label"})
        w.field(Variant(name));
    for (const char* count : {"level_%1", "reference_level_%1"})
        for (int k = 1; k <= kLevels; ++k) w.field(Variant(QString::fromLatin1(count).arg(k)));
    for (const char* name :
         {"matched", "only_this_count", "only_reference", "years", "reference_years", "year_difference"})
        w.field(Variant(name));
    w.endLine();

    for (const Disagreement& d : disagreements) {
        // The labels nearest above (at or before the row) and below (after it).
        const auto below =
            std::upper_bound(ownLabels.begin(), ownLabels.end(), d.position.value,
                             [](long p, const std::pair<long, QString>& l) { return p < l.first; });
        w.field(Variant("boundary"));
        w.field(row(d.position.value));
        w.field(Variant(positionMm(d.position).value));
        w.field(levelOrEmpty(d.ownLevel));
        w.field(levelOrEmpty(d.referenceLevel));
        w.field(Variant(below == ownLabels.begin() ? QString() : files::typedText(std::prev(below)->second)));
        w.field(Variant(below == ownLabels.end() ? QString() : files::typedText(below->second)));
        empties(w, 5 + 2 * kLevels + 6);
        w.endLine();
    }
    const long first = comparison.intervals.empty() ? 1 : comparison.intervals.front().first;
    const long last = comparison.intervals.empty() ? 1 : comparison.intervals.back().last;
    tallyRow(w, "core", first, last, QString(), comparison.whole, positionMm);
    for (const Interval& interval : comparison.intervals)
        tallyRow(w, "interval", interval.first, interval.last, interval.label, interval.tally, positionMm);
    return w.takeBytes();
}

QString comparisonFileName(const QString& lastUsedName) {
    if (lastUsedName.size() < 4) return {};
    return lastUsedName.left(lastUsedName.size() - 4) + QStringLiteral(" (Comparison).csv");
}

}  // namespace compare
