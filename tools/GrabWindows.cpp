// stratalyser-grab OUTDIR [RADIOGRAPH]: starts the program's windows with the shipped settings (from
// a copy, so nothing is changed), imports the radiograph if one is named, opens a curve window's
// pop-up menu and the note dialog, and saves what the screen shows as PNG files, for looking at
// the windows as a user would. Run it under xvfb-run.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "app/Forms.h"
#include "app/Settings.h"
#include "ui/ScriptedDialogs.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir settings;
    QDir(settings.path()).mkpath(QStringLiteral("References"));
    const QString copy = settings.filePath(QStringLiteral("References/Stratalyser_References.csv"));
    QFile::copy(
        QCoreApplication::applicationDirPath() + QStringLiteral("/References/Stratalyser_References.csv"),
        copy);
    app::setSettingsFilePath(copy);

    app::frmMain->Show();
    const bool radiograph = argc > 2;
    if (radiograph) {
        auto scripted = std::make_unique<ui::ScriptedDialogs>();
        scripted->answerOpen(QString::fromLocal8Bit(argv[2]));
        ui::installDialogs(std::move(scripted));
        app::frmMain->Command1_Click();
        app::frmRawImage->Show();
    }
    app::frmActiveYears->Show();
    app::CurveForm& curve = radiograph ? app::frmCurve1.get() : app::frmCurve4.get();
    curve.Show();
    if (!radiograph) app::frmNote->Show();

    auto grab = [&](const QString& name, QWidget* w) {
        w->grab().save(out + QLatin1Char('/') + name + ".png");
    };
    QTimer::singleShot(300, [&] {
        grab(QStringLiteral("main"), &app::frmMain.get());
        grab(QStringLiteral("active-years"), &app::frmActiveYears.get());
        grab(QStringLiteral("note"), &app::frmNote.get());
        grab(QStringLiteral("preview"), &app::frmPreview.get());
        grab(QStringLiteral("raw-image"), &app::frmRawImage.get());
        if (!radiograph) {
            curve.PopupMenu(curve.mnuRB);
            curve.mnuRB->menu()->move(curve.mapToGlobal(QPoint(40, 20)));
        }
    });
    QTimer::singleShot(700, [&] {
        grab(QStringLiteral("curve-window"), &curve);
        grab(QStringLiteral("curve-menu"), curve.mnuRB->menu());
        QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/screen.png"));
        curve.mnuRB->menu()->hide();
        QApplication::quit();
    });
    const int code = QApplication::exec();
    app::unloadAllForms();
    return code;
}
