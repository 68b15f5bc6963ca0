// Saving the working file and the summary.
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "app/SharedState.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/RecentAndDropped.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "files/Chronology.h"
#include "files/Summary.h"
#include "files/TextFile.h"
#include "files/WorkingFile.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

const QString kCsvFilter = QStringLiteral("DataFile(*.csv)|*.csv");

void tellSaveFailed(const QString& what, const QString& path, const core::RuntimeError& e) {
    ui::dialogs().messageBox(QStringLiteral("The ") + what + QStringLiteral(" could not be saved to ") +
                                 QDir::toNativeSeparators(path) + QStringLiteral(" (") +
                                 QString::fromStdString(e.what()) +
                                 QStringLiteral("). Any earlier file of that name is unchanged, and your work is "
                                                "still open: please save it somewhere else."),
                             ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, QStringLiteral("Stratalyser"));
}

// The text as the file keeps it: an emptied text is stored as none, and a double quote, which the
// file's texts cannot hold, as a single quote. After a save the program holds what a reopen gives.
QString asStored(const QString& text) {
    if (text == kEmptiedText) return kNoMarker;
    QString stored = text;
    stored.replace(QLatin1Char('"'), QLatin1Char('\''));
    return stored;
}

}  // namespace

// A cancelled dialog returns quietly; any other failure is told, with the file and the reason,
// and leaves the document unsaved (Saved stays false) and any earlier file whole.
bool MainForm::SaveFile(int mode) {
    setProgress(true, DataLength);
    QString path = WorkingFileName;
    try {
        if (mode == 1) {
            const QFileInfo working(WorkingFileName);
            const QString offered = workingFileIsScannerTable_
                                        ? working.dir().filePath(working.completeBaseName() + QStringLiteral(".csv"))
                                        : WorkingFileName;
            path = ui::dialogs().saveFile({QString(), kCsvFilter, offered, true});
        }
    } catch (const core::RuntimeError&) {
        setProgress(false);
        return false;
    }
    return writeWorkingFileTo(path);
}

bool MainForm::SaveWorkingFileAs(const QString& path) {
    setProgress(true, DataLength);
    if (!writeWorkingFileTo(path)) return false;
    saveAsButton->setCaption(QStringLiteral("Save"));
    return true;
}

bool MainForm::writeWorkingFileTo(const QString& path) {
    try {
        quitButton->repaint();
        saveAsButton->repaint();
        for (long i = 1; i <= DataLength; ++i) {
            if (i % 512 == 0) progressBar->setValue(static_cast<int>(i));
            if (YearMark(i) == kEmptiedText) YearMark(i) = Variant(kNoMarker);
            MarkerLabel(i) = asStored(MarkerLabel(i));
            MarkerNote(i) = asStored(MarkerNote(i));
        }
        files::saveFileParts(path, files::workingFileParts({DataLength, XrfColumnCount, XrfHeaders, XrfData,
                                                            Profile, YearMark, MarkerLabel, MarkerNote}));
    } catch (const core::RuntimeError& e) {
        setProgress(false);
        tellSaveFailed(QStringLiteral("working file"), path, e);
        return false;
    }
    WorkingFileName = path;
    workingFileIsScannerTable_ = false;
    setProgress(false);
    Saved = true;
    RemoveRecoveryCopy();
    RememberCore();  // the working file now opens with the core
    return true;
}

void MainForm::saveAsButton_Click() {
    if (saveAsButton->Caption() == QStringLiteral("Save")) {
        SaveFile(0);
    } else if (SaveFile(1)) {
        saveAsButton->setCaption(QStringLiteral("Save"));
    }
}

void MainForm::mnuSave_Click() {
    saveAsButton_Click();
}
void MainForm::mnuSaveAs_Click() {
    SaveFile(1);
}

// The counts per level between labelled laminae. Changes nothing in the document.
void MainForm::mnuSummary_Click() {
    setProgress(true, DataLength);
    QString path;
    try {
        const QString initial = files::summaryFileName(WorkingFileName);
        if (initial.isEmpty()) throw core::FileError(core::kBadFileName, "Bad file name");
        path = ui::dialogs().saveFile({QString(), kCsvFilter, initial, true});
    } catch (const core::RuntimeError&) {
        setProgress(false);
        return;
    }
    try {
        const QDate today = QDate::currentDate();
        files::saveFileBytes(path, files::writeSummary(WorkingFileName, {today.year(), today.month(), today.day()},
                                                       DataLength, YearMark, MarkerLabel));
    } catch (const core::RuntimeError& e) {
        setProgress(false);
        tellSaveFailed(QStringLiteral("summary"), path, e);
        return;
    }
    setProgress(false);
}

// The positions in mm are the XRF table's; a position without a number there is counted by the
// stepping (micron) from the table's first numeric position (from 0 mm at position 1 when the
// table has none).
core::Millimetres MainForm::positionMm(core::Position p) const {
    const Variant v = XrfData.get(2, static_cast<int>(p.value));
    if (v.isNumeric()) return core::Millimetres(v.toDouble());
    const files::TableStart start = tableStart_.value_or(files::TableStart{});
    // Kept to the nanometre, as placed positions are: 0.21, not 0.21000000000000002.
    return core::Millimetres(
        files::Varve::roundedMm(start.mm + core::lengthOfColumns(static_cast<double>(p.value - start.row),
                                                                 core::val(steppingBox->Text()))
                                               .value));
}

void MainForm::mnuChronology_Click() {
    frmChronology->open();
}

}  // namespace app
