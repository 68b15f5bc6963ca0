#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// What the program is asked to open when it starts:
//   stratalyser [--radiograph FILE] [--xrf FILE] [--photo FILE] [WORKING-FILE.csv]
//   stratalyser --demo | --help | --version
namespace app {

struct CommandLine {
    QString radiograph, xrf, photo, working;
    bool demo = false;
    bool help = false;
    bool version = false;
    QString error;  // what is wrong with the arguments or the files they name; empty when all is well
};

// Reads the arguments (without the program's name) and checks that every file named is there.
// Qt's own options (-platform NAME and the like) are passed over.
CommandLine parseCommandLine(const QStringList& arguments);

QString usageText();

// What the program does before it opens any window: the usage asked for (on `out`, exit code 0)
// or a wrong argument named with the usage (on `err`, exit code 2). Empty: the program starts.
std::optional<int> answerBeforeWindows(const CommandLine& commandLine, std::FILE* out, std::FILE* err);

// Opens what the command line names, in the order the program needs: the radiograph, then its
// XRF table or working file, then the photo. Each goes through the program's own import, so a file
// that cannot be used is reported as from the menus.
void openFromCommandLine(const CommandLine& commandLine);

// The demonstration core (made by the synthetic generator): a radiograph, its scanner table and a
// photo written into `folder`; the returned command line opens all three, shows the section that fills
// the curve windows and places a first counting, saved beside them as "demo.csv". A folder that holds
// a saved demo.csv (and its radiograph and photo) is opened as it is: the user's count is never
// replaced.
CommandLine makeDemoCore(const QString& folder);

}  // namespace app
