#include "files/Recovery.h"

#include "files/FieldSyntax.h"

#include <cmath>

namespace files {

using core::Variant;

namespace {

const char* const kMagic = "stratalyser recovery";

Variant big(qint64 v) {
    return Variant(static_cast<double>(v));  // milliseconds and sizes beyond 32 bits, exact in a double
}

void writeFile(FieldWriter& w, const char* kind, const RecoveredFile& f) {
    w.writeLine({Variant(kind), Variant(f.path), big(f.size), big(f.modifiedMs)});
}

// The widest line of a copy: a file's line (kind, path, size, time).
constexpr std::size_t kWidestLine = 4;
constexpr double kLatestMs = 1e15;  // some 30,000 years after 1970
constexpr double kLargestFile = 1e15;
constexpr double kLongestCore = 2147483647;

// The lines, each no wider than a copy's: a file of separators is refused at its first line.
std::vector<std::vector<Variant>> readLines(const QByteArray& bytes) {
    FieldReader reader(bytes);
    std::vector<std::vector<Variant>> lines;
    while (!reader.atEnd()) lines.push_back(reader.readLine(kWidestLine));
    return lines;
}

}  // namespace

QByteArray recoveryMarks(const RecoveryCopy& copy) {
    FieldWriter w;
    for (const auto& [p, level] : copy.markers) w.writeLine({Variant("marker"), big(p), Variant(level)});
    for (const auto& [p, text] : copy.labels) w.writeLine({Variant("label"), big(p), Variant(text)});
    for (const auto& [p, text] : copy.notes) w.writeLine({Variant("note"), big(p), Variant(text)});
    return w.takeBytes();
}

QByteArray writeRecoveryCopy(const RecoveryCopy& copy) {
    FieldWriter w;
    w.writeLine({Variant(kMagic), Variant(kRecoveryFormat)});
    w.writeLine({Variant("written"), big(copy.writtenMs)});
    writeFile(w, "radiograph", copy.radiograph);
    writeFile(w, "table", copy.table);
    w.writeLine({Variant("section"), big(copy.viewLeft), big(copy.viewRight), big(copy.dataLength)});
    QByteArray bytes = w.takeBytes() + recoveryMarks(copy);
    w.writeLine(
        {Variant("end"), big(static_cast<qint64>(copy.markers.size() + copy.labels.size() + copy.notes.size()))});
    return bytes + w.takeBytes();
}

RecoveryCopy readRecoveryCopy(const QByteArray& bytes) {
    // The first line tells before any field is read.
    if (!bytes.startsWith(QByteArray("\"") + kMagic + "\""))
        throw RecoveryError(QStringLiteral("It is not a recovery copy of Stratalyser."));
    std::vector<std::vector<Variant>> lines;
    try {
        lines = readLines(bytes);
    } catch (const core::RuntimeError&) {  // a text that never ends or a line too wide: damaged, if it began as a copy
        throw RecoveryError(QStringLiteral("It was cut short: its end is missing."));
    }
    const auto isLine = [&lines](std::size_t i, const char* kind, std::size_t fields) {
        return i < lines.size() && lines[i].size() == fields && lines[i][0] == kind;
    };
    if (!isLine(0, kMagic, 2) || !lines[0][1].isNumeric())
        throw RecoveryError(QStringLiteral("It is not a recovery copy of Stratalyser."));
    if (lines[0][1].toDouble() > kRecoveryFormat)
        throw RecoveryError(QStringLiteral("It was written by a newer version of Stratalyser."));
    // A whole number within [lowest, highest], checked before it is converted.
    const auto number = [](const Variant& v, double lowest = -kLatestMs, double highest = kLatestMs) {
        const double x = v.isNumeric() ? v.toDouble() : std::nan("");
        if (!(x >= lowest && x <= highest && x == std::trunc(x)))
            throw RecoveryError(QStringLiteral("It is damaged (\"%1\" where a number belongs).").arg(v.toString()));
        return x;
    };
    if (!isLine(1, "written", 2) || !isLine(2, "radiograph", 4) || !isLine(3, "table", 4) || !isLine(4, "section", 4))
        throw RecoveryError(QStringLiteral("It is damaged (its heading lines are not all there)."));
    RecoveryCopy copy;
    copy.writtenMs = static_cast<qint64>(number(lines[1][1]));
    for (auto [i, file] : {std::pair{2, &copy.radiograph}, std::pair{3, &copy.table}}) {
        file->path = lines[static_cast<std::size_t>(i)][1].toString();
        file->size = static_cast<qint64>(number(lines[static_cast<std::size_t>(i)][2], 0, kLargestFile));
        file->modifiedMs = static_cast<qint64>(number(lines[static_cast<std::size_t>(i)][3]));
    }
    // The section lies inside the core (a damaged one would place the section anywhere).
    copy.dataLength = static_cast<long>(number(lines[4][3], 1, kLongestCore));
    const auto length = static_cast<double>(copy.dataLength);
    copy.viewLeft = static_cast<long>(number(lines[4][1], 0, length));
    copy.viewRight = static_cast<long>(number(lines[4][2], 0, length));
    // Written last: without it the file was cut short (the program or the machine stopped meanwhile).
    if (!(lines.back().size() == 2 && lines.back()[0] == "end"))
        throw RecoveryError(QStringLiteral("It was cut short: its end is missing."));
    std::size_t i = 5;
    for (; i + 1 < lines.size(); ++i) {
        const std::vector<Variant>& line = lines[i];
        const long p = line.size() == 3 ? static_cast<long>(number(line[1], 0, length)) : 0;
        if (p < 1 || p > copy.dataLength)
            throw RecoveryError(
                QStringLiteral("It is damaged (line %1 is no marker, label or note of the core).").arg(i + 1));
        if (line[0] == "marker") {
            const double level = line[2].isNumeric() ? line[2].toDouble() : 0;
            if (!(level >= 1 && level <= 9) || level != std::trunc(level))
                throw RecoveryError(QStringLiteral("It is damaged (a level %1).").arg(line[2].toString()));
            copy.markers.emplace_back(p, static_cast<int>(level));
        } else if (line[0] == "label" || line[0] == "note") {
            (line[0] == "label" ? copy.labels : copy.notes).emplace_back(p, line[2].toString());
        } else {
            throw RecoveryError(QStringLiteral("It is damaged (line %1 is no marker, label or note).").arg(i + 1));
        }
    }
    const std::size_t marks = copy.markers.size() + copy.labels.size() + copy.notes.size();
    if (number(lines[i][1]) != static_cast<double>(marks))
        throw RecoveryError(QStringLiteral("It was cut short: lines are missing before its end."));
    return copy;
}

}  // namespace files
