#pragma once

#include "foundation/Records.h"

#include <QString>

namespace QuorvaneSDK {

// The application settings: one SetUp record shared by every Impostazioni
// object of the process, persisted to <base>/Quorvane.ini.
//
// [Remind] LastBackupWarning, CleanJunk; [Preferences] LastCompressWarning,
// WordIndex, ScanCompressedFiles, ScanCompressedFilesMaxSize,
// CreateWordMaxWords, ExtractTextOnly, ExtractTextOnlyFrom,
// ImportPreviewText, ImportPreviewImage, PreviewMaxSize, LastGroupSelected,
// ScanOnlyFolders, ScanSubFolders. Booleans are "True"/"False", numbers
// decimal text, dates "yyyy-MM-dd[ HH:mm:ss]".
class Impostazioni {
public:
    static QString settingsFile();

    // Reloads the shared record from the file when this object has not loaded
    // it yet or ReadFromDB is true; returns a copy with the current SDK version.
    SetUp get_Values(bool ReadFromDB = false);
    // Makes Values the shared record (and refreshes its SDK version, in
    // Values too); with WriteOnDB writes every persisted field. False only
    // when the file could not be written.
    bool set_Values(SetUp& Values, bool WriteOnDB = true);

    // The values a fresh installation gets for the persisted fields.
    static SetUp defaults();

private:
    bool loaded_ = false;
};

} // namespace QuorvaneSDK
