#include "app/windows/ChronologyForm.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "compare/windows/CompareForm.h"
#include "core/Arithmetic.h"
#include "files/Chronology.h"
#include "files/ChronologyArchive.h"
#include "files/ChronologyJoin.h"
#include "files/ScanRecord.h"
#include "files/TextFile.h"
#include "ui/Dialogs.h"

namespace app {

using ui::make;

namespace {

const QString kTitle = QStringLiteral("Save chronology");
const QString kCsvFilter = QStringLiteral("DataFile(*.csv)|*.csv");
// The window's layout (twips): names, then boxes.
constexpr double kWidth = 7800, kLeft = 120, kTop = 120, kRowStep = 450, kBoxes = 5520, kBoxWidth = 1980;
constexpr double kNoteLine = 285;  // one line of the note under the boxes
constexpr int kRows = 8;

// The forms a chronology is saved in, in the order of the window's list.
enum class SavedForm { Table, Noaa, Lipd };
struct FormChoice {
    const char* caption;
    const char* filter;
    const char* nameEnding;  // after the core's name
};
const FormChoice kForms[] = {
    {"Table (CSV)", "DataFile(*.csv)|*.csv", " (Chronology).csv"},
    {"NOAA template (text)", "NOAA template (*.txt)|*.txt", " (Chronology NOAA).txt"},
    {"LiPD table (CSV and JSON)", "LiPD chronology table (*.csv)|*.csv", " (Chronology LiPD).csv"},
};

void tell(const QString& text) {
    ui::dialogs().messageBox(text, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
}

// The section's name: from the scanner's first line of the table, else the run record beside it,
// else the file's own name.
QString sectionOfCore() {
    if (const QString named = files::sectionNameFromTable(XrfHeaders(0)); !named.isEmpty()) return named;
    for (const files::ScanRecord& record : files::scanRecordsBeside(WorkingFileName))
        if (!record.sectionName.isEmpty()) return record.sectionName;
    return QFileInfo(WorkingFileName).completeBaseName();
}

std::optional<double> numberIn(const QString& text) {
    bool ok = false;
    const double v = QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

ChronologyForm::ChronologyForm() : ui::Form(ui::Unit::Twips) {
    setCaption(kTitle);
    Move(5000, 4000, kWidth, 1200 + (kRows + 1) * kRowStep + kNoteLine);
    QWidget* c = client();
    const auto label = [c](ui::Label*& name, int k, const char* text) {
        name = make<ui::Label>(c, QString::fromUtf8(text));
        name->place(kLeft, kTop + k * kRowStep + 30, kBoxes - kLeft - 60, 285);
    };
    const auto row = [&](ui::Label*& name, ui::TextBox*& box, int k, const char* text) {
        label(name, k, text);
        box = make<ui::TextBox>(c);
        box->place(kBoxes, kTop + k * kRowStep, kBoxWidth, 345);
    };
    row(topYearLabel, topYearBox, 0, "Calendar year of the topmost varve:");
    row(sectionLabel, sectionBox, 1, "Section:");
    row(compositeTopLabel, compositeTopBox, 2, "Depth of the section's top in the composite core (mm):");
    row(yearLevelsLabel, yearLevelsBox, 3, "Year boundaries (levels):");
    row(uncertainLevelsLabel, uncertainLevelsBox, 4, "Uncertain year boundaries (levels):");
    row(seasonLevelsLabel, seasonLevelsBox, 5, "Season boundaries (levels):");
    row(siteLabel, siteBox, 6, "Site:");
    label(formLabel, 7, "Form:");
    formList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    formList->place(kBoxes - 1200, kTop + 7 * kRowStep, kBoxWidth + 1200, 345);
    for (const FormChoice& f : kForms) formList->AddItem(QString::fromUtf8(f.caption));
    formList->setListIndex(0);
    countingNote = make<ui::Label>(
        c, QStringLiteral("A varve runs from one year boundary to the next (so do the years of a comparison); "
                          "an uncertain boundary counts as 0.5 \u00b1 0.5 years. Without a calendar year the "
                          "varves are numbered 1, 2, 3 from the top. Level 3, the half year, is never a year."));
    countingNote->setWordWrap(true);
    countingNote->place(kLeft, kTop + kRows * kRowStep, kWidth - 2 * kLeft - 120, 3 * kNoteLine);
    const double buttonsTop = kTop + (kRows + 1) * kRowStep + 180 + kNoteLine;
    saveButton = make<ui::Button>(c, QStringLiteral("Save..."));
    saveButton->place(kWidth - 2 * 1200 - 360, buttonsTop, 1200, 375);
    saveButton->setDefault(true);
    cancelButton = make<ui::Button>(c, QStringLiteral("Cancel"));
    cancelButton->place(kWidth - 1200 - 240, buttonsTop, 1200, 375);
    connect(saveButton, &ui::Button::Click, this, &ChronologyForm::saveButton_Click);
    connect(cancelButton, &ui::Button::Click, this, &ChronologyForm::Hide);
}

void ChronologyForm::open() {
    const files::ChronologyOptions kept = KeptChronologyOptions();
    topYearBox->setText(kept.topYear ? QString::number(*kept.topYear) : QString());
    sectionBox->setText(kept.section);
    compositeTopBox->setText(QString::number(kept.compositeTopMm));
    yearLevelsBox->setText(files::levelList(kept.rule.years));
    uncertainLevelsBox->setText(files::levelList(kept.rule.uncertain));
    seasonLevelsBox->setText(files::levelList(kept.seasonLevels));
    siteBox->setText(ChronologySite());
    Show();
}

files::ChronologyOptions KeptChronologyOptions() {
    return {ChronologyTopYear(), sectionOfCore(), ChronologyCompositeTop(), ChronologyYearRule(),
            ChronologySeasonLevels(), {}};
}

std::vector<files::Varve> CurrentVarves(const files::ChronologyOptions& options) {
    const auto positionMm = [](core::Position p) { return frmMain->positionMm(p); };
    const auto marks = files::chronologyMarks(positionAxis(), YearMark, MarkerLabel, MarkerNote, positionMm);
    files::ChronologyOptions withDifference = options;
    withDifference.countDifference = ReferenceCountDifference(options.rule);
    return files::buildVarves(marks, withDifference);
}

void ChronologyForm::saveButton_Click() {
    std::optional<int> topYear;
    if (!topYearBox->Text().trimmed().isEmpty()) {
        const std::optional<double> year = numberIn(topYearBox->Text());
        if (!year || *year != std::trunc(*year) || std::abs(*year) > 1e6) {
            tell(
                QStringLiteral("Please type the calendar year of the topmost varve as a whole number (for example "
                               "the year of coring), or leave it empty to number the varves from the top."));
            return;
        }
        topYear = static_cast<int>(*year);
    }
    const std::optional<double> compositeTop = numberIn(compositeTopBox->Text());
    if (!compositeTop) {
        tell(
            QStringLiteral("Please type the depth of the section's top in the composite core in millimetres (0 "
                           "for the first section)."));
        return;
    }
    const std::optional<files::YearRule> rule =
        files::parseYearRule(yearLevelsBox->Text() + QLatin1Char(';') + uncertainLevelsBox->Text());
    if (!rule) {
        tell(
            QStringLiteral("Year and uncertain year boundaries are levels 1, 2 and 4 to 9, each named once (level "
                           "3, the half year, is never a year): for example 1 and 2."));
        return;
    }
    const std::optional<QString> seasons = files::parseSeasonLevels(seasonLevelsBox->Text(), *rule);
    if (!seasons) {
        tell(QStringLiteral("Season boundaries are levels 1 to 9 that are no year or uncertain year boundaries, each "
                            "named once: for example 3 (the half year), or none."));
        return;
    }
    const auto form = static_cast<SavedForm>(std::max(0, formList->ListIndex()));
    if (form != SavedForm::Table && !topYear) {
        tell(QStringLiteral("The %1 gives ages: please type the calendar year of the topmost varve.")
                 .arg(formList->Text()));
        return;
    }
    KeepChronologyYearRule(*rule);
    KeepChronologyPlacement(topYear, *compositeTop);
    KeepChronologySeasonsAndSite(*seasons, siteBox->Text().trimmed());
    ChronologyPlotMayHaveChanged();  // an open plot shows the choices just made
    const FormChoice& choice = kForms[static_cast<int>(form)];
    QString path;
    try {
        // Named after the working file: "core.csv" -> "core (Chronology).csv".
        constexpr qsizetype kEnding = 4;  // ".csv"
        if (WorkingFileName.size() < kEnding) throw core::FileError(core::kBadFileName, "Bad file name");
        const QString initial = WorkingFileName.left(WorkingFileName.size() - kEnding) + QString::fromUtf8(choice.nameEnding);
        path = ui::dialogs().saveFile({kTitle, QString::fromUtf8(choice.filter), initial, true});
    } catch (const core::RuntimeError&) {
        return;
    }
    std::size_t replaced = 0;
    try {
        const files::ChronologyOptions options{topYear, sectionBox->Text().trimmed(), *compositeTop, *rule, *seasons, {}};
        const std::vector<files::Varve> varves = CurrentVarves(options);
        const files::ArchiveHeader header{siteBox->Text().trimmed(), options.section, *rule, *seasons,
                                          QStringLiteral("Stratalyser " STRATALYSER_VERSION)};
        switch (form) {
            case SavedForm::Table: files::saveFileBytes(path, files::writeChronology(varves)); break;
            case SavedForm::Noaa: files::saveFileBytes(path, files::writeNoaaTemplate(varves, header)); break;
            case SavedForm::Lipd:
                // The table and its metadata are written both or neither.
                files::saveFilesTogether(
                    {{path, files::writeLipdTable(varves)},
                     {files::lipdMetadataName(path), files::writeLipdMetadata(header, QFileInfo(path).fileName())}},
                    replaced);
                break;
        }
        Hide();
    } catch (const core::RuntimeError& e) {
        tell(QStringLiteral("The chronology could not be saved to %1 (%2). Any earlier file of that name is "
                            "unchanged.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())));
    }
}

namespace {

const QString kJoinTitle = QStringLiteral("Join chronologies");

void tellJoin(const QString& text) {
    ui::dialogs().messageBox(text, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kJoinTitle);
}

struct Section {
    QString path;
    std::vector<files::Varve> varves;
    QString name() const { return QFileInfo(path).fileName(); }
};

// The sections from the top down, one file dialog each, until one is cancelled; nothing when a file
// cannot be used (the user is told why).
std::optional<std::vector<Section>> chooseSections() {
    std::vector<Section> sections;
    for (;;) {
        QString path;
        try {
            const QString which = sections.empty() ? QStringLiteral("the uppermost section")
                                                   : QStringLiteral(
                                                         "section %1 from the top (Cancel when all are "
                                                         "chosen)")
                                                         .arg(sections.size() + 1);
            path = ui::dialogs().openFile({kJoinTitle + QStringLiteral(": ") + which,
                                           kCsvFilter + QStringLiteral("|All files|*.*"),
                                           sections.empty() ? WorkingFileName : sections.back().path, false});
            Section s{path, files::readChronology(files::readFileBytes(path))};
            if (s.varves.empty()) throw files::ChronologyError(QStringLiteral("It holds no varve."));
            sections.push_back(std::move(s));
        } catch (const core::CancelledError&) {
            return sections;
        } catch (const files::ChronologyError& e) {
            tellJoin(QStringLiteral("%1 cannot be joined. %2").arg(QDir::toNativeSeparators(path), e.reason));
            return std::nullopt;
        } catch (const core::RuntimeError& e) {
            tellJoin(QStringLiteral("%1 cannot be read (%2).")
                         .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())));
            return std::nullopt;
        }
    }
}

// How the lower section is tied to the upper: the shared layer (the user picks one of several), or
// the depth of its top the user gives, or no overlap. Nothing when the user cancels or answers
// what cannot be used.
std::optional<files::Tie> chooseTie(const std::vector<files::SharedLayer>& shared, const QString& upper,
                                    const QString& lower) {
    if (shared.size() == 1) return files::Tie{files::Tie::Kind::Layer, shared[0].label};
    if (!shared.empty()) {
        QStringList labels;
        for (const files::SharedLayer& s : shared) labels << s.label;
        const std::optional<QString> chosen = ui::dialogs().inputBox(
            QStringLiteral("%1 and %2 both label the layers %3. Which one ties them? (The others are compared in "
                           "the report.)")
                .arg(upper, lower, labels.join(QStringLiteral(", "))),
            kJoinTitle, labels.front());
        if (!chosen) return std::nullopt;
        if (!labels.contains(chosen->trimmed())) {
            tellJoin(QStringLiteral("\"%1\" is none of the layers both label.").arg(*chosen));
            return std::nullopt;
        }
        return files::Tie{files::Tie::Kind::Layer, chosen->trimmed()};
    }
    const QString noOverlap = QStringLiteral("no overlap");
    const std::optional<QString> given = ui::dialogs().inputBox(
        QStringLiteral("No layer is labelled in both %1 and %2. At what composite depth (mm, as in %1) does the top "
                       "of %2 lie? Or \"%3\" when %2 begins below %1.")
            .arg(upper, lower, noOverlap),
        kJoinTitle, noOverlap);
    if (!given) return std::nullopt;
    if (given->trimmed().compare(noOverlap, Qt::CaseInsensitive) == 0) return files::Tie{};
    if (const std::optional<double> depth = numberIn(*given)) return files::Tie{files::Tie::Kind::Depth, {}, *depth};
    tellJoin(QStringLiteral("\"%1\" is neither a depth in millimetres nor \"%2\".").arg(*given, noOverlap));
    return std::nullopt;
}

}  // namespace

void JoinChronologies() {
    const std::optional<std::vector<Section>> sections = chooseSections();
    if (!sections || sections->empty()) return;
    if (sections->size() < 2) {
        tellJoin(QStringLiteral("Please choose two or more section chronologies, from the top of the core down."));
        return;
    }
    std::vector<files::Varve> joined = sections->front().varves;
    std::vector<files::JoinRecord> records;
    try {
        for (std::size_t i = 1; i < sections->size(); ++i) {
            const Section& lower = (*sections)[i];
            const QString upper = (*sections)[i - 1].name();
            const auto shared = files::sharedLayers(joined, lower.varves, upper, lower.name());
            const std::optional<files::Tie> tie = chooseTie(shared, upper, lower.name());
            if (!tie) return;
            files::JoinRecord record{upper, lower.name(), *tie, {}};
            joined = files::joinTwo(joined, lower.varves, *tie, record.checks, &record.movedUpMm);
            records.push_back(std::move(record));
        }
    } catch (const files::ChronologyError& e) {
        tellJoin(e.reason + QStringLiteral(" Nothing was written."));
        return;
    }
    QString path;
    std::size_t replaced = 0;
    try {
        const QString first = sections->front().path;
        path = ui::dialogs().saveFile(
            {kJoinTitle, kCsvFilter, first.left(first.size() - 4) + QStringLiteral(" (joined).csv"), true});
        // The chronology and its report are written both or neither.
        files::saveFilesTogether({{path, files::writeChronology(joined)},
                                  {files::joinReportName(path), files::joinReportText(records).toUtf8()}},
                                 replaced);
    } catch (const core::CancelledError&) {
    } catch (const core::RuntimeError& e) {
        const QString why = QString::fromStdString(e.what());
        tellJoin(replaced == 0 ? QStringLiteral("The joined chronology could not be saved to %1 (%2). Neither it "
                                                "nor its report was written: any earlier files of those names are "
                                                "unchanged.")
                                     .arg(QDir::toNativeSeparators(path), why)
                               : QStringLiteral("The joined chronology was saved to %1, but its report could not be "
                                                "written (%2).")
                                     .arg(QDir::toNativeSeparators(path), why));
    }
}

}  // namespace app
