#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "files/Chronology.h"

// A section's chronology in the forms data archives take, beside the program's own table:
//
// - a NOAA-style template: a header block of "#" lines (site, core, method, the counting rule, the
//   variables with their units), then tab-separated columns under one line of names:
//   depth_mm, age_CE, age_BP, thickness_mm, error (depth the composite depth of the varve's top,
//   error its counting error in years);
// - a LiPD-style chronology table: the same values as comma-separated numbers without a header, and
//   beside it a JSON metadata file (".jsonld") naming each column (depth, year, age, thickness,
//   ageUncertainty) with its number and units.
//
// Both give ages, so both want a calendar year for the topmost varve.
namespace files {

struct ArchiveHeader {
    QString site;
    QString core;  // the section's name
    YearRule rule;
    QString seasonLevels;
    QString program;  // name and version of the program that counted
};

// The counting rule as a sentence, for the header of either form.
QString countingRuleText(const YearRule& rule, const QString& seasonLevels);

QByteArray writeNoaaTemplate(const std::vector<Varve>& varves, const ArchiveHeader& header);
QByteArray writeLipdTable(const std::vector<Varve>& varves);
// `tableFileName`: the table's file name as the metadata names it (no folder).
QByteArray writeLipdMetadata(const ArchiveHeader& header, const QString& tableFileName);
// "core (Chronology).csv" -> "core (Chronology).jsonld".
QString lipdMetadataName(const QString& tablePath);

// The missing value of both forms (a varve without a calendar year has no age).
inline const QString kArchiveMissingValue = QStringLiteral("nan");

}  // namespace files
