#pragma once

#include <QByteArray>

#include "core/BoundedArray.h"
#include "core/Variant.h"

// The settings file: 101 lines of 4 fields (column 0..3), read field by field into the settings
// table (column, row). Row 1, column 3 tells the last line to read.
namespace files {

inline constexpr int kSettingsLastRow = 100;
inline constexpr int kSettingsColumns = 4;

// Reads lines 0..2, then n = row 1 column 3 (as an Integer), then lines 3..n. Every field read is
// stored at once, so on an error the rows already read stay in the table. Throws on an early end
// of the file, a last-line number above 100 or one that is not a number.
void readSettings(const QByteArray& bytes, core::Array2<core::Variant>& table);

// All 101 rows, each as one line of its four values.
QByteArray writeSettings(const core::Array2<core::Variant>& table);

}  // namespace files
