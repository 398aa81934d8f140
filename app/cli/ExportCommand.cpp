// export ID [--format csv|json]: the files of a medium.

#include "ArgParser.h"
#include "CatalogueQueries.h"
#include "CliErrors.h"
#include "Commands.h"
#include "MediaEdit.h"
#include "Output.h"
#include "RecordJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kHelp =
    "Usage: quorvane-cli export ID [--format csv|json] [--json]\n"
    "\n"
    "Writes every file of medium ID (folder rows left out) to stdout, by\n"
    "folder and name: CSV with a header line (the default) or a JSON array.\n";

// A CSV field, quoted when it holds a separator, a quote or a line end.
QString csvField(const QString& value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csv(const QList<FileQuorvane>& files) {
    QString out = QStringLiteral("id,Media,FolderName,Name,Extension,Size,DateCreated,DateModified,"
                                 "DateLastAccessed,Properties,Description\r\n");
    for (const FileQuorvane& f : files) {
        const QStringList fields{QString::number(f.id),
                                 f.Media.Label,
                                 f.FolderName,
                                 f.Name,
                                 f.Extension,
                                 QString::number(f.Size, 'f', 0),
                                 dateText(f.DateCreated),
                                 dateText(f.DateModified),
                                 dateText(f.DateLastAccessed),
                                 f.Properties,
                                 f.Description};
        QStringList cells;
        for (const QString& v : fields)
            cells.append(csvField(v));
        out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out;
}

} // namespace

int runExport(const QStringList& args) {
    const ParsedArgs a =
        parseArgs(args, {{QStringLiteral("format"), true}, {QStringLiteral("json")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    if (a.positionals.size() != 1)
        throw UsageError(QStringLiteral("export needs one medium ID (try --help)"));
    QString format = a.value(QStringLiteral("format"), QStringLiteral("csv")).toLower();
    if (a.has(QStringLiteral("json")))
        format = QStringLiteral("json");
    if (format != QLatin1String("csv") && format != QLatin1String("json"))
        throw UsageError(QStringLiteral("unknown export format \"%1\" (csv or json)").arg(format));
    const qint32 id = parseId(a.positionals.first(), QStringLiteral("ID"));
    CatalogueSession session;
    const Media media = requireMedia(session, id);
    const QList<FileQuorvane> files = mediaFiles(session, media);
    if (format == QLatin1String("json")) {
        QJsonArray array;
        for (const FileQuorvane& f : files)
            array.append(fileJson(f));
        printJson(QJsonDocument(array));
    } else {
        printOut(csv(files));
    }
    return ExitOk;
}

} // namespace QuorvaneCli
