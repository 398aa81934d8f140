// ls ID [FOLDER]: the folders of a medium, or the sub-folders and files of
// one of its folders, as the browser's tree and list show them.

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

const char* const kHelp = "Usage: quorvane-cli ls ID [FOLDER] [--json]\n"
                          "\n"
                          "Without FOLDER: every folder of medium ID, as its catalogue name.\n"
                          "With FOLDER (a catalogue name as the first form lists it; a missing\n"
                          "final \"/\" is added): its sub-folders, then its files with size and\n"
                          "modification date.\n";

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// The folders one level below `folder`.
QStringList childFolders(const QStringList& all, const QString& folder) {
    QStringList children;
    for (const QString& f : all) {
        if (f.size() <= folder.size() || !f.startsWith(folder))
            continue;
        const QString rest = f.mid(folder.size());
        const qsizetype sep =
            std::distance(rest.begin(), std::find_if(rest.begin(), rest.end(), isSeparator));
        if (sep == rest.size() - 1 || sep == rest.size())
            children.append(f);
    }
    return children;
}

// The folder as the catalogue names it: as given, or with a final "/".
QString resolveFolder(const QStringList& all, const QString& given) {
    if (all.contains(given))
        return given;
    if (!given.isEmpty() && !isSeparator(given.back()) && all.contains(given + QLatin1Char('/')))
        return given + QLatin1Char('/');
    return QString();
}

int listFolders(const Media& media, const QStringList& folders, bool json) {
    if (json) {
        printJson(QJsonDocument(
            QJsonObject{{QStringLiteral("Media"), mediaJson(media, false)},
                        {QStringLiteral("Folders"), QJsonArray::fromStringList(folders)}}));
    } else if (!folders.isEmpty()) {
        printOut(folders.join(QLatin1Char('\n')));
    }
    return ExitOk;
}

int listFolder(CatalogueSession& session, const Media& media, const QString& folder,
               const QStringList& children, bool json) {
    const QList<FileQuorvane> files = folderFiles(session, media, folder);
    if (json) {
        QJsonArray fileArray;
        for (const FileQuorvane& f : files)
            fileArray.append(fileJson(f));
        printJson(QJsonDocument(
            QJsonObject{{QStringLiteral("Media"), mediaJson(media, false)},
                        {QStringLiteral("FolderName"), folder},
                        {QStringLiteral("Folders"), QJsonArray::fromStringList(children)},
                        {QStringLiteral("Files"), fileArray}}));
        return ExitOk;
    }
    QList<QStringList> rows;
    for (const QString& c : children)
        rows.append({c.mid(folder.size()), QStringLiteral("<folder>"), QString()});
    for (const FileQuorvane& f : files)
        rows.append({f.Name, session.main().FormatSize(f.Size).Formatted,
                     dateText(f.DateModified).replace(QLatin1Char('T'), QLatin1Char(' '))});
    printTable({QStringLiteral("NAME"), QStringLiteral("SIZE"), QStringLiteral("MODIFIED")}, rows);
    return ExitOk;
}

} // namespace

int runLs(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("json")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    if (a.positionals.isEmpty() || a.positionals.size() > 2)
        throw UsageError(
            QStringLiteral("ls needs a medium ID and at most one folder (try --help)"));
    const qint32 id = parseId(a.positionals.first(), QStringLiteral("ID"));
    const bool json = a.has(QStringLiteral("json"));
    CatalogueSession session;
    const Media media = requireMedia(session, id);
    const QStringList folders = mediaFolders(session, id);
    if (a.positionals.size() == 1)
        return listFolders(media, folders, json);
    const QString folder = resolveFolder(folders, a.positionals.at(1));
    if (folder.isEmpty())
        throw WorkError(
            QStringLiteral("medium %1 has no folder %2").arg(id).arg(a.positionals.at(1)));
    return listFolder(session, media, folder, childFolders(folders, folder), json);
}

} // namespace QuorvaneCli
