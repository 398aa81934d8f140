#pragma once
// A small parser for one subcommand's arguments: long options (with "=" or
// a separate value), switches, "--" ending the options, positionals.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace QuorvaneCli {

struct OptionSpec {
    QString name; // without the leading "--"
    bool takesValue = false;
};

class ParsedArgs {
public:
    QStringList positionals;
    QHash<QString, QString> values;
    QSet<QString> switches;

    bool has(const QString& name) const { return switches.contains(name) || values.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const {
        return values.value(name, fallback);
    }
};

// Throws UsageError for an unknown option or a missing value. "--help" and
// "-h" are always known (as the switch "help").
ParsedArgs parseArgs(const QStringList& args, const QList<OptionSpec>& options);

// A whole number > 0 from a positional argument; UsageError otherwise.
qint32 parseId(const QString& text, const QString& what);

} // namespace QuorvaneCli
