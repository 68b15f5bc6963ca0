#include "app/windows/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "app/InstalledFiles.h"
#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "curves/windows/CurveForm.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/Dialogs.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

namespace app {

using namespace files::settings;

namespace {
QString gSettingsPath;

}  // namespace

double settingOr(int row, double computed) {
    const Variant& v = References(kCurrent, row);
    if (v == kUnset) return computed;
    return v.isNumeric() || v.isEmpty() ? v.toDouble() : 0.0;
}

files::YearRule ChronologyYearRule() {
    const files::YearRule defaults;
    if (!ReferencesLoaded) return defaults;
    // Levels as the digits of a number; 0 for none.
    const auto digits = [](int row, const QString& unset) {
        const double d = settingOr(row, kUnset);
        return d == kUnset ? unset : d == 0 ? QString() : QString::number(d, 'f', 0);
    };
    const QString kept = digits(kYearLevels, defaults.years) + QLatin1Char(';') +
                         digits(kUncertainYearLevels, defaults.uncertain);
    return files::parseYearRule(kept).value_or(defaults);
}

void KeepChronologyYearRule(const files::YearRule& rule) {
    if (!ReferencesLoaded) return;
    References(kCurrent, kYearLevels) = Variant(static_cast<core::Long>(rule.years.toInt()));  // "" gives 0
    References(kCurrent, kUncertainYearLevels) = Variant(static_cast<core::Long>(rule.uncertain.toInt()));
}

std::optional<int> ChronologyTopYear() {
    if (!ReferencesLoaded) return std::nullopt;
    const double year = settingOr(kChronologyTopYear, kUnset);
    if (year == kUnset || !std::isfinite(year)) return std::nullopt;
    return static_cast<int>(year);
}

double ChronologyCompositeTop() {
    return ReferencesLoaded ? settingOr(kChronologyCompositeTop, 0) : 0;
}

void KeepChronologyPlacement(std::optional<int> topYear, double compositeTopMm) {
    if (!ReferencesLoaded) return;
    References(kCurrent, kChronologyTopYear) =
        topYear ? Variant(static_cast<core::Long>(*topYear)) : Variant(static_cast<core::Long>(kUnset));
    References(kCurrent, kChronologyCompositeTop) = Variant(compositeTopMm);
}

QString SettingsFilePath() {
    if (!gSettingsPath.isEmpty()) return gSettingsPath;
    // Beside the program when its settings folder is there and can be written (a build folder, a copy
    // unpacked by hand): an installed program has none, and a system folder is never written to.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QFileInfo beside(programFolder.filePath(kSettingsFolder));
    if (beside.isDir() && beside.isWritable())
        return programFolder.filePath(kSettingsFolder + QLatin1Char('/') + kSettingsFileName);
    // Otherwise the user's own, made from the shipped defaults at the first start. Without those the
    // program warns that the file is missing and runs on its defaults, as anywhere else.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString own = QDir(folder).filePath(kSettingsFileName);
    if (!QFileInfo::exists(own)) {
        const QString shipped = shippedSettingsFile();
        if (!shipped.isEmpty() && QDir().mkpath(folder) && QFile::copy(shipped, own))
            QFile::setPermissions(own, QFile::permissions(own) | QFileDevice::WriteOwner);
    }
    return own;
}

void setSettingsFilePath(const QString& path) {
    gSettingsPath = path;
}

core::Colour builtInLevelColour(int level) {
    static constexpr core::Colour kDefaults[] = {255,      65535,    33023, 0xCFCFCF, 0x7F7F7F,
                                                 0xFF80FF, 0xFF0080, 65408, 32896};
    return level >= 1 && level <= 9 ? kDefaults[level - 1] : 0;
}

// Without a settings file the built-in colours hold: a colour chosen in this run does not last.
Variant LevelColour(int level) {
    if (level < 1 || level > 9) return {};
    if (!ReferencesLoaded) {
        const core::Colour c = builtInLevelColour(level);
        return level == 1 ? Variant(static_cast<core::Integer>(c)) : Variant(static_cast<core::Long>(c));
    }
    return References(kCurrent, levelColourRow(level));
}

void SaveReferences() {
    if (!ReferencesLoaded) return;
    MainForm& main = frmMain.get();
    auto single = [](double v) { return Variant(static_cast<float>(v)); };
    // A window's place goes to two rows: Top, then Left.
    auto storePlace = [&](int topRow, const ui::Form& window) {
        References(kCurrent, topRow) = single(window.Top());
        References(kCurrent, leftRow(topRow)) = single(window.Left());
    };
    References(kCurrent, kRowCount) = References(kDefault, kRowCount);
    for (const RowRange unused : kUnusedRows) {
        for (int row = unused.first; row <= unused.last; ++row) References(kCurrent, row) = Variant(kUnset);
    }
    storePlace(kMainTop, main);
    storePlace(kPreviewTop, frmPreview.get());
    References(kCurrent, kPreviewWidth) = single(frmPreview->Width());
    References(kCurrent, kSectionLeft) = single(frmPreview->Shape1->Left());
    References(kCurrent, kSectionWidth) = single(frmPreview->Shape1->Width());
    // Before the imports these windows have no place of their own yet: their rows stay as read.
    const bool radiographImported = !main.Command1->isEnabled();
    if (radiographImported) {
        storePlace(curveTopRow(1), curveWindow(1));
        storePlace(kActiveYearsTop, frmActiveYears.get());
    }
    for (int k = 2; k <= 6; ++k) {
        if (XrfLoaded) storePlace(curveTopRow(k), curveWindow(k));
    }
    // The photo windows' places once they exist (a closed one keeps its last place).
    if (frmPhoto.exists()) storePlace(kPhotoTop, frmPhoto.get());
    if (frmCrop.exists()) storePlace(kCropTop, frmCrop.get());
    for (int level = 1; level <= 9; ++level)
        References(kCurrent, levelColourRow(level)) = single(LevelColour(level).toDouble());
    References(kCurrent, kHideInvalid) = Variant(static_cast<core::Integer>(HideInvalidMeasurements ? 1 : 0));
    for (int row = kFirstFreeRow; row <= kLastRow; ++row)
        References(kCurrent, row) = References(kDefault, row);
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

layout::Rect screenAreaTwips() {
    const QRect area = ui::screen::availablePixels();
    const double tpp = ui::twipsPerPixel();
    return {area.left() * tpp, area.top() * tpp, area.width() * tpp, area.height() * tpp};
}

layout::Rect placeOf(const ui::Form& window) {
    return {window.Left(), window.Top(), window.Width(), window.Height()};
}

void ArrangeCurveWindows() {
    CurveForm& c1 = curveWindow(1);
    CurveForm& c2 = curveWindow(2);
    CurveForm& c3 = curveWindow(3);
    CurveForm& c4 = curveWindow(4);
    CurveForm& c5 = curveWindow(5);
    CurveForm& c6 = curveWindow(6);
    // One window below the other; on a screen too low for three, each covers the lower part of the
    // plot above it, never the top row of controls.
    const double pitch = layout::curveRowPitch(screenAreaTwips(), c1.Top(), c1.Height());
    const auto below = [pitch](const CurveForm& w) { return w.Top() + std::min(w.Height(), pitch); };
    c2.setTop(settingOr(curveTopRow(2), below(c1)));
    c2.setLeft(settingOr(leftRow(curveTopRow(2)), c1.Left()));
    c3.setTop(settingOr(curveTopRow(3), below(c2)));
    c3.setLeft(settingOr(leftRow(curveTopRow(3)), c2.Left()));
    c2.setHeight(c1.Height());
    c3.setHeight(c2.Height());
    c2.setWidth(c1.Width());
    c3.setWidth(c2.Width());
    c4.setTop(settingOr(curveTopRow(4), c1.Top()));
    const double screenWidth = ui::screen::widthTwips();
    c4.setLeft(settingOr(leftRow(curveTopRow(4)), screenWidth - 150 > c1.Left() + c1.Width()
                                                      ? c1.Left() + c1.Width()
                                                      : screenWidth - 150));
    c5.setHeight(c4.Height());
    c6.setHeight(c5.Height());
    c5.setWidth(c4.Width());
    c6.setWidth(c5.Width());
    c5.setTop(settingOr(curveTopRow(5), below(c4)));
    c5.setLeft(settingOr(leftRow(curveTopRow(5)), c4.Left()));
    c6.setTop(settingOr(curveTopRow(6), below(c5)));
    c6.setLeft(settingOr(leftRow(curveTopRow(6)), c5.Left()));
}

}  // namespace app
