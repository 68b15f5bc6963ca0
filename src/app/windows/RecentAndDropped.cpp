#include "app/windows/RecentAndDropped.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "app/CommandLine.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "core/Errors.h"
#include "files/RecentCores.h"
#include "files/TextFile.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

const QString kTitle = QStringLiteral("Stratalyser");

void tell(const QString& text) {
    ui::dialogs().messageBox(text, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
}

// A list that cannot be read is an empty one: it is a convenience, never a reason to stop.
std::vector<files::RecentCore> recentCores() {
    try {
        const QString path = RecentCoresPath();
        return QFileInfo(path).isFile() ? files::readRecentCores(files::readFileBytes(path))
                                        : std::vector<files::RecentCore>{};
    } catch (const core::RuntimeError&) {
        return {};
    }
}

// ... and one that cannot be written stays as it was (a read-only settings folder, a full disk).
void keepRecentCores(const std::vector<files::RecentCore>& cores) {
    try {
        files::saveFileBytes(RecentCoresPath(), files::writeRecentCores(cores));
    } catch (const core::RuntimeError&) {
    }
}

bool isPicture(const QString& path) {
    static const QStringList kPictureSuffixes{"bmp", "jpg", "jpeg", "png", "tif", "tiff"};
    return kPictureSuffixes.contains(QFileInfo(path).suffix().toLower());
}

void openCore(const files::RecentCore& core) {
    CommandLine files;
    files.radiograph = core.radiograph;
    files.xrf = core.table;
    files.photo = core.photo;
    openFromCommandLine(files);
}

}  // namespace

QString RecentCoresPath() {
    return QFileInfo(SettingsFilePath()).absoluteDir().filePath(QStringLiteral("Stratalyser_Recent.csv"));
}

void RememberCore() {
    if (!RadiographImported || RadiographFileName.isEmpty()) return;
    const files::RecentCore open{QFileInfo(RadiographFileName).absoluteFilePath(),
                                 XrfLoaded ? QFileInfo(WorkingFileName).absoluteFilePath() : QString(),
                                 PhotoOpen ? QFileInfo(PhotoFileName).absoluteFilePath() : QString()};
    keepRecentCores(files::withCoreFirst(recentCores(), open));
    ShowRecentCores();
}

void ShowRecentCores() {
    MainForm& main = frmMain.get();
    const std::vector<files::RecentCore> cores = recentCores();
    for (int i = 1; i <= static_cast<int>(files::kRecentCoresKept); ++i) {
        ui::MenuItem* item = main.mnuRecentCores(i);
        const bool listed = i <= static_cast<int>(cores.size());
        item->setVisible(listed);
        if (!listed) continue;
        const files::RecentCore& c = cores[static_cast<std::size_t>(i - 1)];
        QString files = QFileInfo(c.radiograph).fileName();
        if (!c.table.isEmpty()) files += QStringLiteral(", ") + QFileInfo(c.table).fileName();
        QString number = QString::number(i);
        number.insert(number.size() - 1, QLatin1Char('&'));  // Alt+1 .. Alt+9, Alt+0 for the tenth
        item->setCaption(number + QLatin1Char(' ') +
                         files.replace(QStringLiteral("&"), QStringLiteral("&&")));
    }
    main.mnuOpenRecent->setEnabled(!cores.empty());
}

void OpenRecentCore(int number) {
    std::vector<files::RecentCore> cores = recentCores();
    if (number < 1 || number > static_cast<int>(cores.size())) return;
    const files::RecentCore core = cores[static_cast<std::size_t>(number - 1)];
    for (const QString& file : {core.radiograph, core.table, core.photo}) {
        if (file.isEmpty() || QFileInfo(file).isFile()) continue;
        tell(QStringLiteral(
                 "The file %1 of this core no longer exists: the core is taken off the list of recent "
                 "cores.")
                 .arg(QDir::toNativeSeparators(file)));
        cores.erase(cores.begin() + (number - 1));
        keepRecentCores(cores);
        ShowRecentCores();
        return;
    }
    if (!RadiographImported) {
        openCore(core);
        return;
    }
    // The open core is closed first; the next opens once its windows have gone.
    if (frmMain->CloseCore()) QTimer::singleShot(0, QCoreApplication::instance(), [core] { openCore(core); });
}

void OpenDroppedFiles(const QStringList& paths) {
    if (!paths.isEmpty()) ui::setStartFolder(QFileInfo(paths[0]).absolutePath());
    QStringList pictures, tables;
    for (const QString& path : paths) (isPicture(path) ? pictures : tables) << path;
    MainForm& main = frmMain.get();
    if (!RadiographImported) {
        if (pictures.isEmpty()) {
            tell(QStringLiteral(
                "A core opens with its radiograph: drop the radiograph first (or with the XRF data)."));
            return;
        }
        openCore({pictures.value(0), tables.value(0), pictures.value(1)});
    } else if (!XrfLoaded) {
        if (tables.isEmpty()) {
            tell(QStringLiteral(
                "The photo opens after the XRF data: drop the XRF data or a working file first."));
            return;
        }
        main.ImportXRFdata(QFileInfo(tables[0]).absoluteFilePath());
        main.enableCurveTools();
        if (XrfLoaded && !pictures.isEmpty()) main.ImportCorePhoto(QFileInfo(pictures[0]).absoluteFilePath());
    } else if (!tables.isEmpty()) {
        tell(QStringLiteral(
            "This core's XRF data are open: close the core (File > Close core) to open another."));
    } else {
        main.ImportCorePhoto(QFileInfo(pictures[0]).absoluteFilePath());
    }
}

}  // namespace app
