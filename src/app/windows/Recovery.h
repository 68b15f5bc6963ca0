#pragma once

#include <QString>

// The recovery copy of the open count: written a few seconds after every change of the markers,
// labels or notes while they are unsaved, removed after a save and at quitting, and offered when the
// program starts again after a crash or a power cut, or when the same files are opened again.
namespace app {

// The folder of the copies: STRATALYSER_RECOVERY_FOLDER, else the program's data folder; each
// running program keeps its own copy there, under a name of its own, with a lock it holds while it
// runs: a copy whose lock nobody holds was left behind.
QString RecoveryFolder();
void setRecoveryFolder(const QString& folder);  // for tests; empty: as above

// After any change of the count: the copy is written once the changes pause (kRecoveryDelayMs).
void CountChanged();
// The change itself: the count is unsaved from now on, and its copy is due.
void MarkCountUnsaved();
inline constexpr int kRecoveryDelayMs = 2000;
// Writes the copy now when the count has unsaved changes other than those already written.
void WriteRecoveryCopy();
// Waits until the copy being written is on the disk; a copy that could not be written is told to
// the user once (until a write succeeds again).
void FinishRecoveryWrite();
// This program's copy (and one it was offered and kept) removed: after a save, at quitting.
void RemoveRecoveryCopy();

// At start, with nothing open: the newest copy of a program that is no longer running is offered.
void OfferRecoveryAtStart();
// After the XRF table or working file is opened: a copy left for this radiograph and table is offered.
void OfferRecoveryFor(const QString& radiograph, const QString& table);

}  // namespace app
