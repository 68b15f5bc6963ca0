#include "app/windows/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <array>
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
#include "scales/windows/ScaleForms.h"
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

namespace {

// Levels kept as the digits of a number; 0 for none.
QString levelDigits(int row, const QString& unset) {
    const double d = settingOr(row, kUnset);
    return d == kUnset ? unset : d == 0 ? QString() : QString::number(d, 'f', 0);
}

}  // namespace

files::YearRule ChronologyYearRule() {
    const files::YearRule defaults;
    if (!ReferencesLoaded) return defaults;
    const QString kept = levelDigits(kYearLevels, defaults.years) + QLatin1Char(';') +
                         levelDigits(kUncertainYearLevels, defaults.uncertain);
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

QString ChronologySeasonLevels() {
    if (!ReferencesLoaded) return files::kDefaultSeasonLevels;
    return files::parseSeasonLevels(levelDigits(kChronologySeasonLevels, files::kDefaultSeasonLevels),
                                    ChronologyYearRule())
        .value_or(files::kDefaultSeasonLevels);
}

QString ChronologySite() {
    if (!ReferencesLoaded) return {};
    const Variant& v = References(kCurrent, kChronologySite);
    return v.isString() ? v.toString() : QString();
}

void KeepChronologySeasonsAndSite(const QString& seasonLevels, const QString& site) {
    if (!ReferencesLoaded) return;
    References(kCurrent, kChronologySeasonLevels) = Variant(static_cast<core::Long>(seasonLevels.toInt()));
    References(kCurrent, kChronologySite) = Variant(site);
}

QString SettingsFilePath() {
    if (!gSettingsPath.isEmpty()) return gSettingsPath;
    // A settings file of its own for a program started by a benchmark or a test, which must never
    // write the settings of the program it runs beside.
    if (const QString own = qEnvironmentVariable(kSettingsFileVariable); !own.isEmpty()) return own;
    return settingsFileFor(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString settingsFileFor(const QString& programFolder, const QString& userFolder) {
    // Beside the program when its settings folder is there and can be written (a build folder, a copy
    // unpacked by hand): an installed program has none, and a system folder is never written to.
    const QDir program(programFolder);
    const QFileInfo beside(program.filePath(kSettingsFolder));
    if (beside.isDir() && beside.isWritable())
        return program.filePath(kSettingsFolder + QLatin1Char('/') + kSettingsFileName);
    // Otherwise the user's own, made from the shipped defaults at the first start. Without those the
    // program warns that the file is missing and runs on its defaults, as anywhere else.
    const QString own = QDir(userFolder).filePath(kSettingsFileName);
    if (!QFileInfo::exists(own)) {
        const QString shipped = shippedSettingsFile(programFolder);
        if (!shipped.isEmpty() && QDir().mkpath(userFolder) && QFile::copy(shipped, own))
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
    References(kCurrent, kSectionLeft) = single(frmPreview->sectionFrame->Left());
    References(kCurrent, kSectionWidth) = single(frmPreview->sectionFrame->Width());
    // Before the imports these windows have no place of their own yet: their rows stay as read.
    const bool radiographImported = !main.importRadiographButton->isEnabled();
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

layout::CurveRows CurveRowsOfScreen() {
    return layout::curveRows(screenAreaTwips(), placeOf(frmMain.get()));
}

layout::Rect placeOf(const ui::Form& window) {
    return {window.Left(), window.Top(), window.Width(), window.Height()};
}

namespace {

// A window's place in the settings at its size of today: the rows that are set, the layout's
// `ruled` place for a row that is not. Nothing when neither row is set.
std::optional<layout::Rect> keptPlace(int topRow, const layout::Rect& ruled) {
    const double top = settingOr(topRow, kUnset), left = settingOr(leftRow(topRow), kUnset);
    if (top == kUnset && left == kUnset) return std::nullopt;
    return layout::Rect{left == kUnset ? ruled.left : left, top == kUnset ? ruled.top : top, ruled.width, ruled.height};
}

void moveTo(ui::Form& window, const layout::Rect& place) {
    window.setLeft(place.left);
    window.setTop(place.top);
}

}  // namespace

std::vector<layout::Rect> PlacesOfShownWindows(std::initializer_list<const ui::Form*> except) {
    std::vector<const ui::Form*> windows{&frmMain.get(), &frmPreview.get()};
    if (frmActiveYears.exists()) windows.push_back(&frmActiveYears.get());
    if (PhotoOpen && frmPhoto.exists()) windows.push_back(&frmPhoto.get());
    if (CropOpen && frmCrop.exists()) windows.push_back(&frmCrop.get());
    for (int k = 1; k <= 6; ++k) windows.push_back(&curveWindow(k));
    std::vector<layout::Rect> places;
    for (const ui::Form* w : windows) {
        if (w->isVisible() && std::find(except.begin(), except.end(), w) == except.end())
            places.push_back(placeOf(*w));
    }
    return places;
}

void PlaceByLayout(ui::Form& window, int topRow, const layout::Rect& laidOut, std::vector<layout::Rect> others) {
    std::vector<layout::WindowPlace> places;
    for (const layout::Rect& other : others) places.push_back({other, std::nullopt});
    places.push_back({laidOut, keptPlace(topRow, laidOut)});
    moveTo(window, layout::fitPlaces(screenAreaTwips(), places).back());
}

void ArrangeCurveWindows(bool placeFirst) {
    std::array<CurveForm*, 7> c{};
    for (int k = 1; k <= 6; ++k) c[k] = &curveWindow(k);
    const layout::Rect area = screenAreaTwips();
    // The windows that are not arranged here stay where they are.
    const std::vector<layout::Rect> fixed = PlacesOfShownWindows({c[1], c[2], c[3], c[4], c[5], c[6]});
    for (int k : {2, 3}) c[k]->Move(c[k]->Left(), c[k]->Top(), c[1]->Width(), c[1]->Height());
    for (int k : {5, 6}) c[k]->Move(c[k]->Left(), c[k]->Top(), c[4]->Width(), c[4]->Height());

    // One window below the other (window 2 below 1, 3 below 2, 5 below 4, 6 below 5), the second
    // column beside the first (150 twips inside the screen when window 1 reaches past it); on a
    // screen too low for three, each covers the lower part of the plot above it, never the top row
    // of controls. A row the settings hold replaces the rule's place.
    const layout::CurveRows rows = CurveRowsOfScreen();
    const double pitch = std::min(c[1]->Height(), layout::curveRowPitch(area, rows.firstTop, c[1]->Height()));
    using Places = std::array<layout::Rect, 7>;
    const auto arrange = [&](const layout::Rect& first, bool kept) {
        Places at{};
        at[1] = first;
        for (int k = 2; k <= 6; ++k) {
            const layout::Rect& above = at[k == 4 ? 1 : k - 1];
            layout::Rect ruled{above.left, above.top + std::min(above.height, pitch), c[k]->Width(), c[k]->Height()};
            if (k == 4) {
                // Inside the free area's right edge: a panel there takes its part of the screen.
                ruled.left = area.right() - 150 > above.right() ? above.right() : area.right() - 150;
                ruled.top = above.top;
            }
            at[k] = kept ? keptPlace(curveTopRow(k), ruled).value_or(ruled) : ruled;
        }
        return at;
    };
    // The places the settings keep are used as long as each lies on the screen of today and over no
    // other window: mixed with the places of another screen's layout they could lie over each other,
    // so when one does not fit, none is used and the rule places every window.
    std::array<bool, 7> kept{};
    for (int k = placeFirst ? 1 : 2; k <= 6; ++k) kept[k] = keptPlace(curveTopRow(k), {}).has_value();
    const auto fit = [&](const Places& at) {
        for (int k = 1; k <= 6; ++k) {
            if (!kept[k]) continue;
            if (!layout::contains(area, at[k])) return false;
            for (const layout::Rect& other : fixed) {
                if (layout::overlap(at[k], other)) return false;
            }
            for (int j = 1; j <= 6; ++j) {
                if (j != k && layout::overlap(at[k], at[j])) return false;
            }
        }
        return true;
    };
    const layout::Rect ruledFirst{area.left, rows.firstTop, c[1]->Width(), c[1]->Height()};
    const layout::Rect first = placeFirst ? keptPlace(curveTopRow(1), ruledFirst).value_or(ruledFirst) : placeOf(*c[1]);
    Places at = arrange(first, true);
    if (!fit(at)) at = arrange(placeFirst ? ruledFirst : first, false);
    for (int k = placeFirst ? 1 : 2; k <= 6; ++k) moveTo(*c[k], at[k]);
}

// Above window 1 when the rows keep it room there; otherwise under window 6, beside the 10 mm
// scale.
void PlaceElasticScale() {
    ElasticForm& elastic = frmElastic.get();
    const CurveForm& c1 = curveWindow(1);
    const CurveForm& c6 = curveWindow(6);
    elastic.setWidth(c1.Width());
    const layout::Rect above{c1.Left(), c1.Top() - elastic.Height(), elastic.Width(), elastic.Height()};
    const bool roomAbove =
        layout::contains(screenAreaTwips(), above) && !layout::overlap(above, placeOf(frmMain.get()));
    moveTo(elastic, CurveRowsOfScreen().elasticAbove && roomAbove
                        ? above
                        : layout::Rect{c6.Left(), c6.Top() + c6.Height(), elastic.Width(), elastic.Height()});
}

}  // namespace app
