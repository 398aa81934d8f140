#include "ArgParser.h"

#include "CliErrors.h"

namespace QuorvaneCli {

namespace {

const OptionSpec* findOption(const QList<OptionSpec>& options, const QString& name) {
    for (const OptionSpec& o : options)
        if (o.name == name)
            return &o;
    return nullptr;
}

} // namespace

ParsedArgs parseArgs(const QStringList& args, const QList<OptionSpec>& options) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            parsed.positionals.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            parsed.switches.insert(QStringLiteral("help"));
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")))
            throw UsageError(QStringLiteral("unknown option %1").arg(arg));
        QString name = arg.mid(2);
        QString inlineValue;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool hasInline = eq >= 0;
        if (hasInline) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        const OptionSpec* spec = findOption(options, name);
        if (!spec)
            throw UsageError(QStringLiteral("unknown option --%1").arg(name));
        if (!spec->takesValue) {
            if (hasInline)
                throw UsageError(QStringLiteral("option --%1 takes no value").arg(name));
            parsed.switches.insert(name);
            continue;
        }
        if (hasInline) {
            parsed.values.insert(name, inlineValue);
        } else {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("option --%1 needs a value").arg(name));
            parsed.values.insert(name, args.at(++i));
        }
    }
    return parsed;
}

qint32 parseId(const QString& text, const QString& what) {
    bool ok = false;
    const qint32 id = text.trimmed().toInt(&ok);
    if (!ok || id < 1)
        throw UsageError(
            QStringLiteral("%1 must be a whole number above 0, not \"%2\"").arg(what, text));
    return id;
}

} // namespace QuorvaneCli
