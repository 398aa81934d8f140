#pragma once

#include <QString>
#include <QStringList>

namespace QuorvaneSDK {

// An INI file held as its lines, so that a change touches only the line it
// concerns: comments, blank lines, unknown lines, sections and their order
// survive every write. Section and key names compare without regard to case.
// Files are UTF-8; a file that is not valid UTF-8 is read as Latin-1 so that
// legacy files still give their values instead of replacement characters.
class IniDocument {
public:
    // Loads the file; a missing file gives an empty document and true.
    // False when the file exists but cannot be read.
    bool load(const QString& path);
    // Writes the document atomically (a temporary file renamed over the old
    // one). With privateFile the result is readable by its owner only,
    // whatever it was before; otherwise an existing file keeps its
    // permissions and a new one gets the usual ones.
    bool save(const QString& path, bool privateFile = false) const;

    // The value of the first key of that name in the first section of that
    // name; a null QString when there is none.
    QString value(const QString& section, const QString& key) const;
    // Sets the first matching key, or appends the key to the section
    // (appending the section when missing). False for names or values that
    // cannot be written on one line.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes every key of that name from the section; true when the section
    // exists (whether or not the key was there).
    bool removeKey(const QString& section, const QString& key);
    bool hasSection(const QString& section) const;

    QString text() const;

private:
    struct Range {
        int header = -1; // line of the section header
        int end = -1;    // first line after the section's last key line
    };
    Range findSection(const QString& section) const;
    int findKey(const Range& range, const QString& key) const;

    QStringList lines_;
    QString eol_ = QStringLiteral("\n");
    bool bom_ = false;
};

// Quoting that lets any one-line value read back exactly: a value with
// surrounding blanks, or one that itself starts and ends with a double quote,
// is written between double quotes, and one pair of quotes is removed on read.
QString quoteIniValue(const QString& value);
QString unquoteIniValue(const QString& raw);

} // namespace QuorvaneSDK
