#include "files/ChronologyArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <optional>

#include "files/FieldSyntax.h"

namespace files {

namespace {

struct ArchiveColumn {
    const char* noaaName;
    const char* lipdName;
    const char* units;
    const char* description;
};
// Both forms' columns, in their order.
const ArchiveColumn kArchiveColumns[] = {
    {"depth_mm", "depth", "mm", "composite depth of the varve's top"},
    {"age_CE", "year", "CE", "calendar year of the varve"},
    {"age_BP", "age", "BP", "age of the varve before 1950 (1950 = 0 BP)"},
    {"thickness_mm", "thickness", "mm", "varve thickness"},
    {"error", "ageUncertainty", "yr", "cumulative counting error down to the varve"},
};

QByteArray number(double value) {
    return FieldWriter::encode(core::Variant(value));
}

QByteArray number(std::optional<int> value) {
    return value ? FieldWriter::encode(core::Variant(*value)) : kArchiveMissingValue.toUtf8();
}

// One varve's values in the columns' order.
std::vector<QByteArray> archiveRow(const Varve& v) {
    return {number(v.compositeTopMm), number(v.calendarYear ? std::optional<int>(v.year) : std::nullopt),
            number(v.ageBp()), number(v.thicknessMm()), number(v.countingErrorYears())};
}

QByteArray joined(const std::vector<QByteArray>& cells, char separator) {
    QByteArray line;
    for (const QByteArray& cell : cells) {
        if (!line.isEmpty()) line += separator;
        line += cell;
    }
    return line;
}

QString levelsText(const QString& levels) {
    return levels.isEmpty() ? QStringLiteral("none") : levelList(levels);
}

}  // namespace

QString countingRuleText(const YearRule& rule, const QString& seasonLevels) {
    return QStringLiteral(
               "varves counted between year boundaries (levels %1); each uncertain year boundary (levels %2) counts "
               "as 0.5 +/- 0.5 years, the errors added up from the top; season boundaries (levels %3) divide a "
               "varve into its sub-layers")
        .arg(levelsText(rule.years), levelsText(rule.uncertain), levelsText(seasonLevels));
}

QByteArray writeNoaaTemplate(const std::vector<Varve>& varves, const ArchiveHeader& header) {
    QStringList lines;
    const QString rule = QStringLiteral("#------------------");
    lines << QStringLiteral("# Varve chronology") << rule << QStringLiteral("# Site_Information")
          << QStringLiteral("#   Site_Name: %1").arg(header.site) << QStringLiteral("#   Core_Name: %1").arg(header.core)
          << rule << QStringLiteral("# Chronology_Information")
          << QStringLiteral("#   Method: varve counting on an X-radiograph and XRF curves (%1)").arg(header.program)
          << QStringLiteral("#   Counting_Error: %1").arg(countingRuleText(header.rule, header.seasonLevels))
          << QStringLiteral("#   Age_Type: calendar years CE, and BP (1950 = 0)") << rule << QStringLiteral("# Variables");
    for (const ArchiveColumn& c : kArchiveColumns)
        lines << QStringLiteral("## %1\t%2, %3").arg(QLatin1String(c.noaaName), QLatin1String(c.description),
                                                    QLatin1String(c.units));
    lines << rule << QStringLiteral("# Data") << QStringLiteral("# Missing_Values: %1").arg(kArchiveMissingValue);
    QStringList names;
    for (const ArchiveColumn& c : kArchiveColumns) names << QLatin1String(c.noaaName);
    lines << names.join(QLatin1Char('\t'));
    QByteArray out = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    for (const Varve& v : varves) out += joined(archiveRow(v), '\t') + '\n';
    return out;
}

QByteArray writeLipdTable(const std::vector<Varve>& varves) {
    QByteArray out;
    for (const Varve& v : varves) out += joined(archiveRow(v), ',') + '\n';
    return out;
}

QByteArray writeLipdMetadata(const ArchiveHeader& header, const QString& tableFileName) {
    QJsonArray columns;
    int n = 0;
    for (const ArchiveColumn& c : kArchiveColumns) {
        columns.append(QJsonObject{{QStringLiteral("number"), ++n},
                                   {QStringLiteral("variableName"), QLatin1String(c.lipdName)},
                                   {QStringLiteral("units"), QLatin1String(c.units)},
                                   {QStringLiteral("description"), QLatin1String(c.description)}});
    }
    const QJsonObject table{{QStringLiteral("tableName"), QStringLiteral("chron0measurement0")},
                            {QStringLiteral("filename"), tableFileName},
                            {QStringLiteral("missingValue"), kArchiveMissingValue},
                            {QStringLiteral("method"), countingRuleText(header.rule, header.seasonLevels)},
                            {QStringLiteral("columns"), columns}};
    const QJsonObject chronData{{QStringLiteral("measurementTable"), QJsonArray{table}}};
    const QJsonObject root{{QStringLiteral("lipdVersion"), 1.3},
                           {QStringLiteral("archiveType"), QStringLiteral("LakeSediment")},
                           {QStringLiteral("dataSetName"), header.core},
                           {QStringLiteral("createdBy"), header.program},
                           {QStringLiteral("geo"), QJsonObject{{QStringLiteral("siteName"), header.site}}},
                           {QStringLiteral("chronData"), QJsonArray{chronData}}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString lipdMetadataName(const QString& tablePath) {
    const QFileInfo file(tablePath);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".jsonld"));
}

}  // namespace files
