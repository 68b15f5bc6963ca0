#include "app/CommandLine.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>

#include "SynthCore.h"
#include "app/InstalledFiles.h"
#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/RegularFile.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

// Qt's own options that take a value; QApplication reads them.
const QStringList kQtOptionsWithValue = {QStringLiteral("-platform"), QStringLiteral("-display"),
                                         QStringLiteral("-style"),    QStringLiteral("-stylesheet"),
                                         QStringLiteral("-qwindowgeometry"), QStringLiteral("-geometry"),
                                         QStringLiteral("-platformpluginpath"), QStringLiteral("-plugin")};
const QStringList kQtFlags = {QStringLiteral("-reverse"), QStringLiteral("-widgetcount")};

// The demonstration core: small enough to appear at once, large enough to show laminae, and low
// enough that three curve windows stand one above the other under the main window on a 900-pixel screen.
constexpr int kDemoWidth = 1500, kDemoHeight = 80;
constexpr int kDemoPhotoWidth = 750, kDemoPhotoHeight = 40;
// The demonstration's counting: the first varves at the section's top end, every fifth at level 2 and
// every tenth at level 3. A varve is a light and a dark lamina: its boundary is where a light one starts.
constexpr int kDemoBoundaries = 20;
const QString kDemoWorkingFile = QStringLiteral("demo.csv");

int demoLevel(int count) {
    return count % 10 == 0 ? 3 : count % 5 == 0 ? 2 : 1;
}

// A first counting on the demonstration core, so that every window shows what it is for: boundaries of
// three levels, one lamina named and one noted, the pointer line over the plots; saved beside the core as
// its working file.
void placeDemoCounting(const QString& folder) {
    const std::vector<int> boundaries = synth::layVarvedCore(kDemoWidth).boundaries;  // the picture's own
    int count = 0;
    for (std::size_t i = boundaries.size(); i-- > 0 && count < kDemoBoundaries;) {
        const bool lightStarts = i % 2 == 1;  // the core's first lamina (column 0) is light
        if (!lightStarts || boundaries[i] <= ViewLeft || boundaries[i] >= ViewRight) continue;
        const core::Position position = positionAxis().positionOf(core::Column(boundaries[i]));
        YearMark(position) = Variant(static_cast<Integer>(demoLevel(++count)));
        ++MarksVersion;
        if (count == 10) MarkerLabel(position) = QStringLiteral("#Decade");
        if (count == 7) MarkerNote(position) = QStringLiteral("#Thin: check on the photo");
    }
    RedrawCurves();
    DrawMarkerLabels();
    UpdateActiveYears();
    frmMain->SaveWorkingFileAs(QDir(folder).filePath(kDemoWorkingFile));
    ShowCurvePointer(ViewLeft + (ViewRight - ViewLeft) / 3.0, curveWindow(1).plot->ScaleHeight());
}

// The radiograph kinds the program reads, by the name's ending: what a lone file name is taken as.
bool looksLikeAnImage(const QString& name) {
    static const QStringList kEndings = {QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".jpeg"),
                                         QStringLiteral(".png"), QStringLiteral(".tif"), QStringLiteral(".tiff")};
    return std::any_of(kEndings.begin(), kEndings.end(),
                       [&](const QString& e) { return name.endsWith(e, Qt::CaseInsensitive); });
}

}  // namespace

QString usageText() {
    return QStringLiteral(
        "Usage: stratalyser [--radiograph FILE] [--xrf FILE] [--photo FILE] [WORKING-FILE.csv]\n"
        "       stratalyser RADIOGRAPH\n"
        "       stratalyser --demo\n"
        "       stratalyser --help | --version\n"
        "\n"
        "  --radiograph FILE  the X-radiograph (BMP, JPEG, PNG or TIFF, 8 or 16 bits)\n"
        "  --xrf FILE         the XRF scanner's result table (Results.txt or a .csv copy)\n"
        "  --photo FILE       the core photo (BMP, JPEG, PNG or TIFF)\n"
        "  WORKING-FILE.csv   a working file saved earlier, with its radiograph (--radiograph); without\n"
        "                     one, the program asks for the radiograph first\n"
        "  RADIOGRAPH         a file name ending in .bmp, .jpg, .jpeg, .png, .tif or .tiff alone\n"
        "  --demo             open a generated demonstration core\n"
        "  --help             show this text\n"
        "  --version          show the program's version\n"
        "\n"
        "The manual: ") +
           (manualFile().isEmpty() ? QStringLiteral("docs/manual.md in the source tree") : manualFile()) +
           QStringLiteral("\n");
}

std::optional<int> answerBeforeWindows(const CommandLine& c, std::FILE* out, std::FILE* err) {
    if (c.help) {
        std::fputs(qPrintable(usageText()), out);
        return 0;
    }
    if (c.version) {
        std::fputs("Stratalyser " STRATALYSER_VERSION "\n", out);
        return 0;
    }
    if (c.error.isEmpty()) return std::nullopt;
    std::fprintf(err, "stratalyser: %s\n\n%s", qPrintable(c.error), qPrintable(usageText()));
    return 2;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine c;
    auto fail = [&c](const QString& why) {
        if (c.error.isEmpty()) c.error = why;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](QString& into) {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QStringLiteral("--"))) {
                fail(a + QStringLiteral(" needs a file name"));
                return;
            }
            into = arguments[++i];
        };
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            c.help = true;
        } else if (a == QStringLiteral("--version")) {
            c.version = true;
        } else if (a == QStringLiteral("--demo")) {
            c.demo = true;
        } else if (a == QStringLiteral("--radiograph")) {
            value(c.radiograph);
        } else if (a == QStringLiteral("--xrf")) {
            value(c.xrf);
        } else if (a == QStringLiteral("--photo")) {
            value(c.photo);
        } else if (kQtOptionsWithValue.contains(a)) {
            ++i;
        } else if (kQtFlags.contains(a)) {
            continue;
        } else if (a.startsWith(QLatin1Char('-'))) {
            fail(QStringLiteral("unknown option ") + a);
        } else if (looksLikeAnImage(a) && c.radiograph.isEmpty()) {
            c.radiograph = a;  // as "Open with" on a radiograph passes it
        } else if (c.working.isEmpty()) {
            c.working = a;
        } else {
            fail(QStringLiteral("more than one working file: ") + c.working + QStringLiteral(", ") + a);
        }
    }
    if (c.help || c.version) return c;
    const bool anyFile = !c.radiograph.isEmpty() || !c.xrf.isEmpty() || !c.photo.isEmpty() || !c.working.isEmpty();
    if (c.demo && anyFile) fail(QStringLiteral("--demo opens its own files; name no others with it"));
    if (!c.working.isEmpty() && !c.xrf.isEmpty())
        fail(QStringLiteral("give either --xrf or a working file: the working file holds the XRF data"));
    // A working file alone (as "Open with" passes it) asks for its radiograph with the import's dialog.
    if (c.radiograph.isEmpty() && !c.xrf.isEmpty())
        fail(QStringLiteral("the XRF data need their radiograph: give it with --radiograph FILE"));
    if (!c.photo.isEmpty() && c.xrf.isEmpty() && c.working.isEmpty())
        fail(QStringLiteral("the photo opens after the XRF data: give --xrf FILE or a working file too"));
    // Qt reads file names as UTF-8 and has no way back to other bytes: such a name is said to be
    // the trouble, not the file's absence.
    for (const QString* file : {&c.radiograph, &c.xrf, &c.working, &c.photo}) {
        const core::PathKind kind = file->isEmpty() ? core::PathKind::RegularFile : core::pathKind(*file);
        if (kind == core::PathKind::RegularFile) continue;
        if (kind == core::PathKind::Other) fail(QStringLiteral("not a regular file: ") + *file);
        fail(file->contains(QChar::ReplacementCharacter)
                 ? QStringLiteral("the file name is not UTF-8 text, which Stratalyser cannot open; please rename "
                                  "the file: ") + *file
                 : QStringLiteral("no such file: ") + *file);
    }
    return c;
}

void openFromCommandLine(const CommandLine& c) {
    MainForm& main = frmMain.get();
    if (c.radiograph.isEmpty() && c.working.isEmpty()) return;
    // Opened from the file manager: the next dialogs start in the folder of that file.
    ui::setStartFolder(QFileInfo(c.radiograph.isEmpty() ? c.working : c.radiograph).absolutePath());
    // Without a radiograph the import asks for it (a cancelled dialog leaves the program empty).
    main.openRadiograph(c.radiograph.isEmpty() ? QString() : QFileInfo(c.radiograph).absoluteFilePath(),
                        c.demo ? MainForm::FirstSection::FitScreen : MainForm::FirstSection::AsKept);
    if (!RadiographImported) return;
    const QString table = c.working.isEmpty() ? c.xrf : c.working;
    if (table.isEmpty()) return;
    main.ImportXRFdata(QFileInfo(table).absoluteFilePath());
    main.enableCurveTools();  // as the import command does
    if (!XrfLoaded) return;
    if (!c.photo.isEmpty()) main.ImportCorePhoto(QFileInfo(c.photo).absoluteFilePath());
    if (c.demo && c.working.isEmpty()) placeDemoCounting(QFileInfo(c.radiograph).absolutePath());
}

CommandLine makeDemoCore(const QString& folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    CommandLine c;
    c.demo = true;
    c.radiograph = dir.filePath(QStringLiteral("radiograph.bmp"));
    c.xrf = dir.filePath(QStringLiteral("Results.txt"));
    c.photo = dir.filePath(QStringLiteral("optical.png"));
    // A count saved in the demonstration's folder is the user's: it opens with its core, and none of
    // the folder's files is written again.
    const QString saved = dir.filePath(kDemoWorkingFile);
    if (QFileInfo(saved).isFile() && QFileInfo(c.radiograph).isFile() && QFileInfo(c.photo).isFile()) {
        c.working = saved;
        c.xrf.clear();
        return c;
    }
    const synth::VarvedCore core = synth::makeVarvedCore(kDemoWidth, kDemoHeight);
    const synth::VarvedCore colour = synth::makeVarvedCore(kDemoWidth, kDemoHeight, true);
    core.radiograph.save(c.radiograph, "BMP");
    QFile table(c.xrf);
    if (table.open(QIODevice::WriteOnly)) table.write(synth::makeXrfTable(core, true));
    // The photo: the core in colour, half the radiograph's resolution, a brown tint.
    QImage photo = colour.radiograph.scaled(kDemoPhotoWidth, kDemoPhotoHeight, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgb(qRed(p) * 3 / 4 + 30, qGreen(p) * 3 / 5 + 20, qBlue(p) / 2 + 10);
        }
    }
    photo.save(c.photo, "PNG");
    return c;
}

}  // namespace app
