#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "compare/Matching.h"

// Reading a second count of the core from a working file, and writing a comparison as one CSV table
// with one header line (spreadsheets, R and pandas read it as it is):
//
//   kind, row, mm, level, reference_level, label_above, label_below, first_row, last_row, top_mm,
//   bottom_mm, label, level_1 .. level_9, reference_level_1 .. reference_level_9, matched,
//   only_this_count, only_reference, years, reference_years, year_difference
//
// "boundary" rows first, one per disagreement from the first row down: a boundary of one count
// without a partner in the other (its level empty on the side that has none), or a pair of different
// levels; its row and position in mm, and the labels of this count nearest above and below it.
// Then a "core" row for the whole core and an "interval" row per labelled interval of this count
// (closed by its label): the boundaries of each level in each count, matched, only in one count,
// and the years of each count (the year levels' boundaries) and their difference. Labels are
// written as typed, without the leading "#".
namespace compare {

struct ReferenceCount {
    std::vector<Boundary> boundaries;              // by position (the working file's row)
    std::vector<std::pair<long, QString>> labels;  // labelled positions, as stored ("#" + text)
};

// The count a working file holds, for a core of `dataLength` positions. Throws files::XrfReadError
// naming the reason when the file is no working file (an XRF table among them), is of another
// length, or holds damaged cells.
ReferenceCount readReferenceCount(const QByteArray& bytes, int dataLength);

// The labelled positions among 1..dataLength of a label column ("---" and "#---" are none).
std::vector<std::pair<long, QString>> labelledPositions(long dataLength, const std::function<QString(long)>& labelAt);

QByteArray writeComparison(std::span<const Disagreement> disagreements, const Comparison& comparison,
                           std::span<const std::pair<long, QString>> ownLabels,
                           const std::function<core::Millimetres(core::Position)>& positionMm);

// "core.csv" -> "core (Comparison).csv"; empty when the name is too short to end in ".csv".
QString comparisonFileName(const QString& lastUsedName);

}  // namespace compare
