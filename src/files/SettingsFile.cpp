#include "files/SettingsFile.h"

#include "core/Errors.h"
#include "files/FieldSyntax.h"

namespace files {

namespace {
void readRow(FieldReader& reader, core::Array2<core::Variant>& table, int row) {
    for (int column = 0; column < kSettingsColumns; ++column) table(column, row) = reader.readField();
}
}  // namespace

void readSettings(const QByteArray& bytes, core::Array2<core::Variant>& table) {
    FieldReader reader(bytes);
    for (int row = 0; row <= 2; ++row) readRow(reader, table, row);
    const core::Variant& last = table(3, 1);
    if (!last.isNumeric() && !last.isEmpty())
        throw core::TypeMismatchError("The last-line number is not a number");
    const int n = core::cint(last.toDouble());
    if (n > kSettingsLastRow)
        throw core::SubscriptError("The settings file names more rows than it may hold");
    for (int row = 3; row <= n; ++row) readRow(reader, table, row);
}

QByteArray writeSettings(const core::Array2<core::Variant>& table) {
    FieldWriter writer;
    for (int row = 0; row <= kSettingsLastRow; ++row) {
        writer.writeLine({table(0, row), table(1, row), table(2, row), table(3, row)});
    }
    return writer.bytes();
}

}  // namespace files
