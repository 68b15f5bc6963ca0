#include "files/SettingsFile.h"

#include <cmath>

#include "files/FieldSyntax.h"
#include "files/TextFile.h"

namespace files {

SettingKind settingKind(int row) {
    using namespace settings;
    if (row == kRowCount) return SettingKind::RowCount;
    if (row == kPreviewWidth || row == kSectionWidth) return SettingKind::Size;
    if ((row >= kMainTop && row <= leftRow(kCropTop)) || row == kActiveYearsTop ||
        row == leftRow(kActiveYearsTop))
        return SettingKind::Position;
    if (row >= levelColourRow(1) && row <= levelColourRow(9)) return SettingKind::Colour;
    return SettingKind::Free;
}

namespace {

using core::Variant;

QString shown(const Variant& v) {
    return v.isString() ? QStringLiteral("\"%1\"").arg(v.asString()) : v.toString();
}

// What a row holds and what its value must be, in the user's words.
struct Requirement {
    QString holds;
    QString mustBe;
};
Requirement requirementOf(int row, SettingKind kind) {
    switch (kind) {
        case SettingKind::RowCount:
            return {QStringLiteral("number of the last line to read"),
                    QStringLiteral("; it must be a whole number from %1 to %2")
                        .arg(kSettingsFewestRows)
                        .arg(kSettingsLastRow)};
        case SettingKind::Position:
            return {QStringLiteral("a window position"),
                    QStringLiteral(", which is not a position in twips")};
        case SettingKind::Size:
            return {QStringLiteral("a width"), QStringLiteral(", which is not a width in twips")};
        case SettingKind::Colour:
            return {QStringLiteral("colour of level %1").arg(row - settings::levelColourRow(0)),
                    QStringLiteral(", which is not a colour (0 to 16777215)")};
        case SettingKind::Free:
            break;
    }
    return {};
}

// The row count as the file gives it, bare or in quotes; -1 when it is no whole number.
int rowCountOf(const Variant& v) {
    double d = 0;
    if (v.isNumeric()) {
        d = v.toDouble();
    } else if (v.isString()) {
        bool ok = false;
        d = v.asString().trimmed().toDouble(&ok);
        if (!ok) return -1;
    } else {
        return -1;
    }
    if (!std::isfinite(d) || d != std::trunc(d) || d < -1 || d > 1e6) return -1;
    return static_cast<int>(d);
}

bool isGoodRowCount(const Variant& v) {
    const int n = rowCountOf(v);
    return n >= kSettingsFewestRows && n <= kSettingsLastRow;
}

// An empty value is allowed wherever a number is read: it counts as a set value of 0.
bool isGoodValue(const Variant& v, SettingKind kind) {
    if (kind == SettingKind::Free) return true;
    if (kind == SettingKind::RowCount) return isGoodRowCount(v);
    if (v.isEmpty()) return true;
    if (!v.isNumeric() || v.type() == Variant::Type::Boolean) return false;
    const double d = v.toDouble();
    if (!std::isfinite(d)) return false;
    switch (kind) {
        case SettingKind::Position:
            return std::fabs(d) <= kSettingsMaxTwips;
        case SettingKind::Size:
            return d >= 0 && d <= kSettingsMaxTwips;
        case SettingKind::Colour:
            return d >= 0 && d <= kSettingsMaxColour && d == std::trunc(d);
        default:
            return true;
    }
}

void readRow(FieldReader& reader, core::Array2<Variant>& table, int row) {
    for (int column = 0; column < kSettingsColumns; ++column) {
        if (reader.atEnd()) {
            throw DamagedSettingsError(row, column == 0
                                                ? QStringLiteral("the file ends before row %1.").arg(row)
                                                : QStringLiteral("row %1 has %2 fields; every row has %3.")
                                                      .arg(row)
                                                      .arg(column)
                                                      .arg(kSettingsColumns));
        }
        table(column, row) = reader.readField();
        const bool last = column == kSettingsColumns - 1;
        if (reader.lineEnded() && !last) {
            throw DamagedSettingsError(row, QStringLiteral("row %1 has %2 field%3; every row has %4.")
                                                .arg(row)
                                                .arg(column + 1)
                                                .arg(column == 0 ? "" : "s")
                                                .arg(kSettingsColumns));
        }
        if (!reader.lineEnded() && last) {
            throw DamagedSettingsError(
                row, QStringLiteral("row %1 has more than %2 fields.").arg(row).arg(kSettingsColumns));
        }
    }
    const SettingKind kind = settingKind(row);
    for (int column : {settings::kDefault, settings::kCurrent}) {
        const Variant& v = table(column, row);
        if (!isGoodValue(v, kind)) {
            const Requirement r = requirementOf(row, kind);
            throw DamagedSettingsError(row, QStringLiteral("row %1, column %2 (%3) holds %4%5.")
                                                .arg(row)
                                                .arg(column)
                                                .arg(r.holds, shown(v), r.mustBe));
        }
    }
}

}  // namespace

void readSettings(const QByteArray& bytes, core::Array2<core::Variant>& table) {
    if (bytes.isEmpty()) throw DamagedSettingsError(0, QStringLiteral("the file is empty."));
    // Read into a table of our own: a damaged file never leaves half of itself in the program.
    core::Array2<Variant> read(0, kSettingsColumns - 1, 0, kSettingsLastRow);
    FieldReader reader(unicodeTextAsUtf8(bytes));
    for (int row = 0; row <= 2; ++row) readRow(reader, read, row);
    const int n = rowCountOf(read(settings::kCurrent, settings::kRowCount));
    for (int row = 3; row <= n; ++row) readRow(reader, read, row);
    for (int row = 0; row <= kSettingsLastRow; ++row) {
        for (int column = 0; column < kSettingsColumns; ++column) table(column, row) = read(column, row);
    }
}

QByteArray writeSettings(const core::Array2<core::Variant>& table) {
    FieldWriter writer;
    for (int row = 0; row <= kSettingsLastRow; ++row) {
        writer.writeLine({table(0, row), table(1, row), table(2, row), table(3, row)});
    }
    return writer.bytes();
}

}  // namespace files
