#pragma once

#include <QString>

namespace QuorvaneSDK {

// Profile (INI) files in UTF-8. Every call reads the file afresh; a write
// changes only the line of its key, so other keys, comments and the order
// of sections stay as they were. Values are read whole, whatever their length.
class NX_Ini {
public:
    // The value of Parameter in section Application; the empty text when the
    // file, the section or the key is missing.
    QString ReadValue(const QString& IniFileName, const QString& Application,
                      const QString& Parameter = QString()) const;
    // Writes the key, creating the file and the section as needed. False when
    // the file cannot be written or a name or value does not fit on one line.
    bool WriteValue(const QString& IniFileName, const QString& Application,
                    const QString& Parameter, const QString& value);
    // Removes the key; surrounding "[" "]" of the section name are dropped
    // first. True when the file was written. An empty Parameter removes
    // nothing and gives false.
    bool DeleteKey(const QString& IniFileName, const QString& Application,
                   const QString& Parameter = QString());

    // Files holding secrets (passwords) are kept readable by their owner only.
    bool WriteValuePrivate(const QString& IniFileName, const QString& Application,
                           const QString& Parameter, const QString& value);
};

} // namespace QuorvaneSDK
