#include "files/Summary.h"

#include <array>

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

namespace {
constexpr int kLevels = 9;

void writeCounts(FieldWriter& w, const std::array<core::Long, kLevels + 1>& count) {
    w.field(Variant("---"));
    for (int level = 1; level <= kLevels; ++level) w.field(Variant(count[static_cast<std::size_t>(level)]));
    w.endLine();
}
}  // namespace

QByteArray writeSummary(const QString& workingFileName, core::Date today, int dataLength,
                        const core::Array<Variant>& yearMark, const core::Array<QString>& markerLabel) {
    FieldWriter w;
    w.writeLine({Variant(workingFileName)});
    w.writeLine({Variant(today)});
    w.field(Variant("Boundaries"));
    for (int level = 1; level <= kLevels; ++level) w.field(Variant(QStringLiteral("Level-%1").arg(level)));
    w.endLine();
    w.writeLine({Variant("'Section top'")});
    std::array<core::Long, kLevels + 1> count{};
    for (int i = 1; i <= dataLength; ++i) {
        const QString& label = markerLabel(i);
        if (label != QStringLiteral("---") && label != QStringLiteral("#---")) {
            writeCounts(w, count);
            w.writeLine({Variant(QLatin1Char('\'') + label + QLatin1Char('\''))});
            count.fill(0);
            continue;
        }
        for (int level = 1; level <= kLevels; ++level) {
            if (yearMark(i) == level) ++count[static_cast<std::size_t>(level)];
        }
    }
    writeCounts(w, count);
    w.writeLine({Variant("'Section bottom'")});
    return w.takeBytes();
}

QString summaryFileName(const QString& lastUsedName) {
    if (lastUsedName.size() < 4) return {};
    return lastUsedName.left(lastUsedName.size() - 4) + QStringLiteral(" (Summary).csv");
}

}  // namespace files
