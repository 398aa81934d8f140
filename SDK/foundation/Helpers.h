#pragma once

#include "foundation/OleDate.h"

#include <QString>

namespace QuorvaneSDK {

// Folders below <base> by kind, as get_AppFolder numbers them.
enum class AppFolder : int {
    Export = 0,
    Temp = 1,
    Base2 = 2, // no sub-folder: <base> itself
    Base3 = 3, // no sub-folder: <base> itself
    Help = 4,
    Sound = 5,
    Uncompress = 6,
};

// <base> plus the sub-folder of the kind, ending with "/"; the folder is
// created when it is missing or holds no file (errors ignored). An unknown
// kind gives <base>/.
QString get_AppFolder(int kind);
QString get_AppFolder(AppFolder kind);

// Removes the characters of codes 0, 1, 9, 10 and 13, then the blanks at
// both ends, so the text can stand in a name or description column.
QString CleanSqlText(const QString& text);

// An OLE date before 1900-01-01, or one that is not a usable date (NaN,
// infinite, beyond year 9999), becomes 1900-01-01 00:00 (2.0); others pass.
Date ClampDate1900(const Date& date);

// The path cleaned as CleanSqlText does, cut after its last "/"; empty when
// it holds none.
QString get_FolderOfPath(const QString& path);
// The empty text stays empty; otherwise a "/" is appended when missing.
QString add_TrailingSlash(const QString& path);
// True when the path names a file whose length can be read.
bool exists_File(const QString& path);
// Creates one folder; true on success, false on any error (also when it exists).
bool make_Folder(const QString& path);
// Deletes a file; errors are ignored.
void delete_File(const QString& path);

} // namespace QuorvaneSDK
