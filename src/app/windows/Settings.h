#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

#include "app/WindowLayout.h"
#include "core/Colour.h"
#include "core/Variant.h"
#include "files/Chronology.h"
#include "ui/Form.h"

namespace app {

// The settings file: "References/Stratalyser_References.csv" in the folder that holds the program
// when that folder has a writable References folder (a build), otherwise
// "Stratalyser_References.csv" in the user's configuration folder (an installed program), copied from
// the shipped defaults when it is not there yet.
// The environment variable STRATALYSER_SETTINGS names another settings file for a program started
// by a benchmark or a test.
QString SettingsFilePath();
// The settings file of the program in `programFolder`: in its own settings folder when that can be
// written, else in `userFolder`, copied there from the shipped defaults when it is not there yet.
QString settingsFileFor(const QString& programFolder, const QString& userFolder);
inline constexpr const char* kSettingsFileVariable = "STRATALYSER_SETTINGS";
// Tests point the program at a settings file of their own (empty: back to the default).
void setSettingsFilePath(const QString& path);

// The colour of a level 1..9 (packed 0x00BBGGRR) as a Variant; any other level gives Empty.
// Without a settings file it is always the built-in colour (level 1 an Integer, the others Long).
core::Variant LevelColour(int level);
core::Colour builtInLevelColour(int level);

// Writes the settings file (nothing without a settings file). A file that cannot be written is
// reported once in a message box and the program goes on.
void SaveReferences();

// Column 3 of a settings row as a number, or `computed` when the row holds 9999 (not set). An empty
// value counts as set (0).
double settingOr(int row, double computed);

// Which levels the chronology counts as years and as uncertain years, as kept in the settings (the
// defaults when unset or without a settings file), and keeping a new choice there.
files::YearRule ChronologyYearRule();
void KeepChronologyYearRule(const files::YearRule& rule);
// The chronology's calendar year of the topmost varve (none: counted from the top) and composite
// depth of the section's top, as kept in the settings.
std::optional<int> ChronologyTopYear();
double ChronologyCompositeTop();
void KeepChronologyPlacement(std::optional<int> topYear, double compositeTopMm);
// The levels that divide a varve into its seasonal sub-layers (digits; 3 when unset) and the site's
// name the archive forms give, as kept in the settings.
QString ChronologySeasonLevels();
QString ChronologySite();
void KeepChronologySeasonsAndSite(const QString& seasonLevels, const QString& site);

// Places curve windows 2..6 (and window 1 first, with placeFirst) from the settings where those
// places still fit the screen, or in two columns beside window 1.
void ArrangeCurveWindows(bool placeFirst = false);
// The elastic scale by its curve windows.
void PlaceElasticScale();
// Puts a window at its place in the settings (rows topRow, topRow + 1) when that lies on the
// screen and over none of `others`; at `laidOut` otherwise.
void PlaceByLayout(ui::Form& window, int topRow, const layout::Rect& laidOut, std::vector<layout::Rect> others);
// The places of the layout's windows on the screen now (main, preview, active years, photo,
// close-up, curve windows), but those of `except`.
std::vector<layout::Rect> PlacesOfShownWindows(std::initializer_list<const ui::Form*> except);

// The screen's area for windows (without the desktop's panels), in twips: what the places the
// settings leave unset are laid out in.
layout::Rect screenAreaTwips();
// The rows of curve windows on this screen, below the main window at its layout place.
layout::CurveRows CurveRowsOfScreen();
// A window's place and size (twips) as the layout takes it.
layout::Rect placeOf(const ui::Form& window);

}  // namespace app
