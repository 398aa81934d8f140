#pragma once
// What a cataloguing run needs from whoever drives it: answers to its
// questions, pop-ups, an error path, and progress. The scanning window, the
// command line (answers from its flags) and tests implement it.

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneCataloguing {

// The texts of the progress labels after a change.
struct ScanProgress {
    QString LabelProgress;             // last processed file (shortened)
    QString LabelArchivedProgress;     // last processed archived file (shortened)
    QString Label_FileCounter;         // "Count of processed files: n"
    QString Label_FileArchivedCounter; // "Count of archived processed files: n"
    QString Label_TimeElapsed;         // "Elapsed n seconds"
    qint32 files = 0;
    qint32 archivedFiles = 0;
};

class ScanHost {
public:
    virtual ~ScanHost() = default;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A pop-up notice of `secs` seconds.
    virtual void showPopUp(const QString& text, int secs, QuorvaneSDK::MessageType kind) = 0;
    // A problem the run passes over (an unreadable folder), told once.
    virtual void reportProblem(const QString& text) { (void)text; }
    // Progress after each processed file or archive entry.
    virtual void progress(const ScanProgress& progress) { (void)progress; }
    // ScanningInProcess changed (the window's button: "C&ancel" / "&OK").
    virtual void scanningChanged(bool scanning) { (void)scanning; }
    // The run's end: "Finish at hh:mm:ss"; medium id 0 when none was stored.
    virtual void finished(qint32 mediaId, const QString& caption) {
        (void)mediaId;
        (void)caption;
    }
};

} // namespace QuorvaneCataloguing
