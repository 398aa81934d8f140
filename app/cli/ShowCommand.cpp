// show FILE_ID [--contained] [--save-image FILE]: what the properties
// window shows about one file or one entry of an archive.

#include "ArgParser.h"
#include "CatalogueSession.h"
#include "CliErrors.h"
#include "Commands.h"
#include "FileExtras.h"
#include "Output.h"
#include "RecordJson.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kHelp =
    "Usage: quorvane-cli show FILE_ID [--contained] [--save-image FILE] [--json]\n"
    "\n"
    "General data, MP3 data, the archive's contents and the stored previews of\n"
    "one catalogued file; with --contained FILE_ID is an entry of an archive.\n"
    "--save-image writes the stored image preview to FILE (its type from the\n"
    "file name's extension, PNG when it has none).\n";

struct Shown {
    QString name;
    QString type;
    QString folder;
    double size = 0;
    Date created, modified, accessed;
    QString attributes;
    QString media;
    QJsonObject record;
};

void printGeneral(Main& main, const Shown& s) {
    const QList<QStringList> rows{
        {QStringLiteral("Name:"), s.name},
        {QStringLiteral("Type of file:"), s.type},
        {QStringLiteral("Location:"), s.folder},
        {QStringLiteral("Size:"), main.FormatSize(s.size).Formatted},
        {QStringLiteral("Created on:"), dateText(s.created)},
        {QStringLiteral("Modified on:"), dateText(s.modified)},
        {QStringLiteral("Accessed on:"), dateText(s.accessed)},
        {QStringLiteral("Attributes:"), s.attributes},
        {QStringLiteral("Media:"), s.media},
    };
    QString text;
    for (const QStringList& r : rows)
        text += r.at(0).leftJustified(18) + r.at(1) + QLatin1Char('\n');
    printOut(text.chopped(1));
}

void saveImage(const FileExtras& extras, const QString& path) {
    if (extras.image.isNull())
        throw WorkError(QStringLiteral("no image preview is stored for this file"));
    const char* format = QFileInfo(path).suffix().isEmpty() ? "PNG" : nullptr;
    if (!extras.image.save(path, format))
        throw WorkError(QStringLiteral("cannot write %1").arg(path));
}

int showFile(CatalogueSession& session, qint32 id, const ParsedArgs& a) {
    Main& main = session.main();
    const FileQuorvane f = main.get_File(id);
    if (f.id != id)
        throw WorkError(QStringLiteral("no file with ID %1").arg(id));
    const qint32 count = main.get_NumberOfContainedFiles(id);
    QList<FileQuorvaneCompressed> entries;
    if (count > 0)
        entries = main.get_ListOfCompressedContainedFiles(id);
    const FileExtras extras = readFileExtras(session, id, false);
    if (a.has(QStringLiteral("save-image")))
        saveImage(extras, a.value(QStringLiteral("save-image")));
    if (a.has(QStringLiteral("json"))) {
        QJsonObject o = fileJson(f);
        QJsonArray list;
        for (const FileQuorvaneCompressed& e : entries)
            list.append(containedJson(e));
        o.insert(QStringLiteral("ContainedFiles"), list);
        o.insert(QStringLiteral("SumOfCompressedContainedFiles"),
                 count > 0 ? double(main.get_SumOfCompressedContainedFiles(id)) : 0.0);
        addExtrasJson(o, extras);
        printJson(QJsonDocument(o));
        return ExitOk;
    }
    printGeneral(main, {f.Name,
                        f.Description,
                        f.FolderName,
                        f.Size,
                        f.DateCreated,
                        f.DateModified,
                        f.DateLastAccessed,
                        f.Properties,
                        f.Media.Label,
                        {}});
    if (count > 0) {
        printOut(
            QStringLiteral("Contained:        %1 files are into this file\n"
                           "Compressed size:  %2")
                .arg(
                    QLocale(QLocale::English).toString(count),
                    main.FormatSize(double(main.get_SumOfCompressedContainedFiles(id))).Formatted));
        for (const FileQuorvaneCompressed& e : entries)
            if (!e.Name.trimmed().isEmpty())
                printOut(QStringLiteral("  ") + e.FolderName + e.Name);
    } else {
        printOut(QStringLiteral("Contained:        Not a compressed file"));
    }
    printExtras(extras);
    return ExitOk;
}

int showContained(CatalogueSession& session, qint32 id, const ParsedArgs& a) {
    Main& main = session.main();
    bool loadParent = true;
    const FileQuorvaneCompressed e = main.get_FileCompressed(id, loadParent);
    if (e.id != id)
        throw WorkError(QStringLiteral("no contained file with ID %1").arg(id));
    const FileExtras extras = readFileExtras(session, id, true);
    if (a.has(QStringLiteral("save-image")))
        saveImage(extras, a.value(QStringLiteral("save-image")));
    if (a.has(QStringLiteral("json"))) {
        QJsonObject o = containedJson(e);
        o.insert(QStringLiteral("ParentFile"), fileJson(e.ParentFile));
        addExtrasJson(o, extras);
        printJson(QJsonDocument(o));
        return ExitOk;
    }
    const QString media = e.Media.Label.isEmpty() ? e.ParentFile.Media.Label : e.Media.Label;
    printGeneral(main, {e.Name,
                        e.OptionalDescription,
                        e.FolderName,
                        e.Size,
                        e.DateCreated,
                        e.DateModified,
                        e.DateLastAccessed,
                        e.Properties,
                        media,
                        {}});
    printOut(
        QStringLiteral("Archive:          %1%2").arg(e.ParentFile.FolderName, e.ParentFile.Name));
    printOut(QStringLiteral("Contained:        Not a compressed file"));
    printExtras(extras);
    return ExitOk;
}

} // namespace

int runShow(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("contained")},
                                          {QStringLiteral("save-image"), true},
                                          {QStringLiteral("json")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    if (a.positionals.size() != 1)
        throw UsageError(QStringLiteral("show needs one FILE_ID (try --help)"));
    const qint32 id = parseId(a.positionals.first(), QStringLiteral("FILE_ID"));
    CatalogueSession session;
    return a.has(QStringLiteral("contained")) ? showContained(session, id, a)
                                              : showFile(session, id, a);
}

} // namespace QuorvaneCli
