#include "app/Settings.h"

#include <QCoreApplication>
#include <QDir>

#include "app/Forms.h"
#include "app/SharedState.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "ui/Dialogs.h"
#include "ui/Screen.h"

namespace app {

namespace {
QString gSettingsPath;

}  // namespace

double settingOr(int row, double computed) {
    const Variant& v = References(3, row);
    if (v == kUnset) return computed;
    return v.isNumeric() || v.isEmpty() ? v.toDouble() : 0.0;
}

QString SettingsFilePath() {
    if (!gSettingsPath.isEmpty()) return gSettingsPath;
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("References/Stratalyser_References.csv"));
}

void setSettingsFilePath(const QString& path) {
    gSettingsPath = path;
}

core::Colour builtInLevelColour(int level) {
    static constexpr core::Colour kDefaults[] = {255,      65535,    33023, 0xCFCFCF, 0x7F7F7F,
                                                 0xFF80FF, 0xFF0080, 65408, 32896};
    return level >= 1 && level <= 9 ? kDefaults[level - 1] : 0;
}

Variant LevelColour(int level) {
    if (!ReferencesLoaded) {
        References(3, 31) = Variant(static_cast<core::Integer>(builtInLevelColour(1)));
        for (int k = 2; k <= 9; ++k)
            References(3, 30 + k) = Variant(static_cast<core::Long>(builtInLevelColour(k)));
    }
    if (level >= 1 && level <= 9) return References(3, 30 + level);
    return {};
}

void SaveReferences() {
    if (!ReferencesLoaded) return;
    MainForm& main = frmMain.get();
    auto single = [](double v) { return Variant(static_cast<float>(v)); };
    // A window's place goes to two rows: Top, then Left.
    auto storePlace = [&](int topRow, const ui::Form& window) {
        References(3, topRow) = single(window.Top());
        References(3, topRow + 1) = single(window.Left());
    };
    References(3, 1) = References(2, 1);
    for (auto [first, last] : {std::pair{2, 4}, std::pair{28, 30}, std::pair{40, 65}}) {
        for (int row = first; row <= last; ++row) References(3, row) = Variant(kUnset);  // not used
    }
    storePlace(5, main);
    storePlace(7, frmPreview.get());
    References(3, 9) = single(frmPreview->Width());
    References(3, 10) = single(frmPreview->Shape1->Left());
    References(3, 11) = single(frmPreview->Shape1->Width());
    // Before the imports these windows have no place of their own yet: their rows stay as read.
    const bool radiographImported = !main.Command1->isEnabled();
    if (radiographImported) {
        storePlace(12, curveWindow(1));
        storePlace(66, frmActiveYears.get());
    }
    for (int k = 2; k <= 6; ++k) {
        if (XrfLoaded) storePlace(14 + 2 * (k - 2), curveWindow(k));
    }
    storePlace(24, frmPhoto.get());
    storePlace(26, frmCrop.get());
    for (int level = 1; level <= 9; ++level)
        References(3, 30 + level) = single(LevelColour(level).toDouble());
    for (int row = 68; row <= 100; ++row) References(3, row) = References(2, row);
    try {
        files::saveFileBytes(SettingsFilePath(), files::writeSettings(References));
    } catch (const core::RuntimeError&) {
        static bool told = false;  // once per run is enough; quitting must never hang on it
        if (!told) {
            told = true;
            ui::dialogs().messageBox(
                QStringLiteral("The settings could not be saved to ") +
                    QDir::toNativeSeparators(SettingsFilePath()) +
                    QStringLiteral(". Window positions and level colours of this session are not kept."),
                ui::MessageButtons::Ok, ui::MessageIcon::Exclamation,
                QStringLiteral("Message from Stratalyser"));
        }
    }
}

void ArrangeCurveWindows() {
    CurveForm& c1 = curveWindow(1);
    CurveForm& c2 = curveWindow(2);
    CurveForm& c3 = curveWindow(3);
    CurveForm& c4 = curveWindow(4);
    CurveForm& c5 = curveWindow(5);
    CurveForm& c6 = curveWindow(6);
    c2.setTop(settingOr(14, c1.Top() + c1.Height()));
    c2.setLeft(settingOr(15, c1.Left()));
    c3.setTop(settingOr(16, c2.Top() + c2.Height()));
    c3.setLeft(settingOr(17, c2.Left()));
    c2.setHeight(c1.Height());
    c3.setHeight(c2.Height());
    c2.setWidth(c1.Width());
    c3.setWidth(c2.Width());
    c4.setTop(settingOr(18, c1.Top()));
    const double screenWidth = ui::screen::widthTwips();
    c4.setLeft(settingOr(
        19, screenWidth - 150 > c1.Left() + c1.Width() ? c1.Left() + c1.Width() : screenWidth - 150));
    c5.setHeight(c4.Height());
    c6.setHeight(c5.Height());
    c5.setWidth(c4.Width());
    c6.setWidth(c5.Width());
    c5.setTop(settingOr(20, c4.Top() + c4.Height()));
    c5.setLeft(settingOr(21, c4.Left()));
    c6.setTop(settingOr(22, c5.Top() + c5.Height()));
    c6.setLeft(settingOr(23, c5.Left()));
}

}  // namespace app
