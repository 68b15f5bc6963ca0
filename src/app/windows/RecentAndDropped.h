#pragma once

#include <QString>
#include <QStringList>

// File > Open recent, and files dropped on the program's windows.
namespace app {

// The list of recent cores, beside the settings file.
QString RecentCoresPath();
// The open core (its radiograph, its table or working file, its photo) first in the list, and the
// menu shown again; called as each of its files opens or is saved.
void RememberCore();
// The File > Open recent items as the list holds them (the menu disabled when it is empty).
void ShowRecentCores();
// Opens the core of item `number` (1 = newest), after closing the one open (which may ask to save
// it); a core whose files are gone is said so and leaves the list.
void OpenRecentCore(int number);
// Files dropped on a window open as their commands would: a picture as the radiograph (the first
// file of a core) or the photo (once the XRF data are open); any other file as the XRF table or
// working file.
void OpenDroppedFiles(const QStringList& paths);

}  // namespace app
