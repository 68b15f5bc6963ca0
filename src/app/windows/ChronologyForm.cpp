#include "app/windows/ChronologyForm.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "core/Arithmetic.h"
#include "files/Chronology.h"
#include "files/ScanRecord.h"
#include "files/TextFile.h"
#include "ui/Dialogs.h"

namespace app {

using ui::make;

namespace {

const QString kTitle = QStringLiteral("Save chronology");
const QString kCsvFilter = QStringLiteral("DataFile(*.csv)|*.csv");
constexpr double kMicronsPerMm = 1000;
// The window's layout (twips): names, then boxes.
constexpr double kWidth = 7800, kLeft = 120, kTop = 120, kRowStep = 450, kBoxes = 5520, kBoxWidth = 1980;

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
    Move(5000, 4000, kWidth, 3900);
    QWidget* c = client();
    const auto row = [c](ui::Label*& label, ui::TextBox*& box, int k, const char* name) {
        label = make<ui::Label>(c, QString::fromUtf8(name));
        label->place(kLeft, kTop + k * kRowStep + 30, kBoxes - kLeft - 60, 285);
        box = make<ui::TextBox>(c);
        box->place(kBoxes, kTop + k * kRowStep, kBoxWidth, 345);
    };
    row(Label1, Text1, 0, "Calendar year of the topmost varve:");
    row(Label2, Text2, 1, "Section:");
    row(Label3, Text3, 2, "Depth of the section's top in the composite core (mm):");
    row(Label4, Text4, 3, "Year boundaries (levels):");
    row(Label5, Text5, 4, "Uncertain year boundaries (levels):");
    Label6 = make<ui::Label>(c, QStringLiteral("Without a calendar year the varves are numbered 1, 2, 3 from the "
                                               "top. Level 3, the half year, is never a year."));
    Label6->setWordWrap(true);
    Label6->place(kLeft, kTop + 5 * kRowStep, kWidth - 2 * kLeft - 120, 2 * 285);
    Command1 = make<ui::Button>(c, QStringLiteral("Save..."));
    Command1->place(kWidth - 2 * 1200 - 360, kTop + 6 * kRowStep + 180, 1200, 375);
    Command1->setDefault(true);
    Command2 = make<ui::Button>(c, QStringLiteral("Cancel"));
    Command2->place(kWidth - 1200 - 240, kTop + 6 * kRowStep + 180, 1200, 375);
    connect(Command1, &ui::Button::Click, this, &ChronologyForm::Command1_Click);
    connect(Command2, &ui::Button::Click, this, &ChronologyForm::Hide);
}

void ChronologyForm::open() {
    const std::optional<int> year = ChronologyTopYear();
    Text1->setText(year ? QString::number(*year) : QString());
    Text2->setText(sectionOfCore());
    Text3->setText(QString::number(ChronologyCompositeTop()));
    const files::YearRule rule = ChronologyYearRule();
    Text4->setText(rule.years);
    Text5->setText(rule.uncertain);
    Show();
}

void ChronologyForm::Command1_Click() {
    std::optional<int> topYear;
    if (!Text1->Text().trimmed().isEmpty()) {
        const std::optional<double> year = numberIn(Text1->Text());
        if (!year || *year != std::trunc(*year) || std::abs(*year) > 1e6) {
            tell(
                QStringLiteral("Please type the calendar year of the topmost varve as a whole number (for example "
                               "the year of coring), or leave it empty to number the varves from the top."));
            return;
        }
        topYear = static_cast<int>(*year);
    }
    const std::optional<double> compositeTop = numberIn(Text3->Text());
    if (!compositeTop) {
        tell(
            QStringLiteral("Please type the depth of the section's top in the composite core in millimetres (0 "
                           "for the first section)."));
        return;
    }
    const std::optional<files::YearRule> rule = files::parseYearRule(Text4->Text() + QLatin1Char(';') + Text5->Text());
    if (!rule) {
        tell(
            QStringLiteral("Year and uncertain year boundaries are levels 1, 2 and 4 to 9, each named once (level "
                           "3, the half year, is never a year): for example 1 and 2."));
        return;
    }
    KeepChronologyYearRule(*rule);
    KeepChronologyPlacement(topYear, *compositeTop);
    QString path;
    try {
        const QString initial = files::chronologyFileName(WorkingFileName);
        if (initial.isEmpty()) throw core::FileError(core::kBadFileName, "Bad file name");
        path = ui::dialogs().saveFile({kTitle, kCsvFilter, initial, true});
    } catch (const core::RuntimeError&) {
        return;
    }
    const double steppingMm = core::val(frmMain->Text1->Text()) / kMicronsPerMm;
    const auto positionMm = [steppingMm](int p) {
        const Variant v = XrfData.get(2, p);
        return v.isNumeric() ? v.toDouble() : (p - 1) * steppingMm;
    };
    try {
        const auto marks = files::chronologyMarks(DataLength, YearMark, MarkerLabel, MarkerNote, positionMm);
        const files::ChronologyOptions options{topYear, Text2->Text().trimmed(), *compositeTop, *rule};
        files::saveFileBytes(path, files::writeChronology(files::buildVarves(marks, options)));
        Hide();
    } catch (const core::RuntimeError& e) {
        tell(QStringLiteral("The chronology could not be saved to %1 (%2). Any earlier file of that name is "
                            "unchanged.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())));
    }
}

}  // namespace app
