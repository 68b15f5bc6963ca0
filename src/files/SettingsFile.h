#pragma once

#include <QByteArray>
#include <QString>

#include "core/BoundedArray.h"
#include "core/Errors.h"
#include "core/Variant.h"
#include "files/SettingsRows.h"

// The settings file: 101 lines of 4 fields (column 0..3), read into the settings table
// (column, row). Row 1, column 3 tells the last line to read.
namespace files {

inline constexpr int kSettingsLastRow = settings::kLastRow;
inline constexpr int kSettingsColumns = 4;
// Lines 0..2 are always read, so a file naming fewer cannot be right.
inline constexpr int kSettingsFewestRows = 2;
// Window places and sizes are twips; anything beyond this lies on no screen.
inline constexpr double kSettingsMaxTwips = 1.0e6;
inline constexpr double kSettingsMaxColour = 0xFFFFFF;

// What the program reads from a row's columns 2 (default) and 3 (current value). Rows that it
// never interprets may hold anything.
enum class SettingKind { Free, RowCount, Position, Size, Colour };
SettingKind settingKind(int row);

// A settings file the program cannot use as it stands: the row where it went wrong and why, in
// words for the user ("row 31, column 3 (colour of level 1) holds "red", which is not a colour").
struct DamagedSettingsError : core::RuntimeError {
    DamagedSettingsError(int row, const QString& reason)
        : core::RuntimeError(core::kTypeMismatch, reason.toStdString()), row(row), reason(reason) {}
    int row;
    QString reason;
};

// Reads lines 0..2, then n = row 1 column 3 (a whole number 2..100, bare or quoted), then lines
// 3..n, and checks every row: exactly four fields on its own line, and a number of the right kind
// (or an empty value) where the program reads one. Rows after n are left empty. The table
// changes only when the whole file is good; otherwise DamagedSettingsError says where it is not.
void readSettings(const QByteArray& bytes, core::Array2<core::Variant>& table);

// All 101 rows, each as one line of its four values.
QByteArray writeSettings(const core::Array2<core::Variant>& table);

}  // namespace files
