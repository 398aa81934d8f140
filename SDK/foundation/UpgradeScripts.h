#pragma once

#include <QString>
#include <QStringList>

// Collecting and reading the upgrade scripts of a dialect folder: which
// files run, in what order, and how a script is cut into statements.
// Pure functions, no database involved.
namespace QuorvaneSDK {

struct UpgradeScriptSet {
    static constexpr int LastSlot = 1000;

    // Slot number -> file name (empty when no file took the slot), 0..1000.
    QStringList slotNames = QStringList(LastSlot + 1);
    // Names whose number lies outside 0..1000, in the order met.
    QStringList outOfRange;

    // The names that run, in order: slots 0..999 holding a non-blank name.
    // Slot 1000 is collected but never run.
    QStringList toRun() const;
};

// The slot number of a script name, or -1 when it is not a script: the name
// must contain ".sql" (trimmed, any case) and must not be upgrade02.sql or
// upgrade03.sql. "upgrade" and ".sql" are removed (exact case), then the
// leading digits give the number (none: 0). Numbers too large for the
// slot table come back as LastSlot + 1 (out of range).
int upgradeScriptSlot(const QString& name);

// Fills the slots from a list of names. The names are sorted first (plain
// code-unit order) so that "a later file replaces an earlier one" does not
// depend on the order a directory happens to list them in.
UpgradeScriptSet collectUpgradeScripts(QStringList names);

// The same over the regular files of a folder (dot files excluded: they are
// editor swap and backup files on this platform). An absent folder gives an
// empty set.
UpgradeScriptSet collectUpgradeScriptsInFolder(const QString& folder);

// Cuts a script into statements. A line holding only ";;" or only "GO"
// (any case, blanks around allowed) ends a statement; pieces that hold only
// blanks and comments are dropped. The pieces come back trimmed.
QStringList splitScriptStatements(QString script);

// Empty when the piece holds a single statement; otherwise the reason to
// refuse it. A second statement after a ";" would be silently ignored by
// the SQLite driver; pieces with a BEGIN ... END or $$ body are exempt.
QString checkSingleStatement(const QString& piece);

} // namespace QuorvaneSDK
