// media [list] | media show ID | media rename ID LABEL | media group ID GROUP
// | media delete ID [--yes]

#include "ArgParser.h"
#include "CatalogueSession.h"
#include "CliErrors.h"
#include "Commands.h"
#include "MediaEdit.h"
#include "Output.h"
#include "RecordJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>
#include <unistd.h>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kHelp = "Usage: quorvane-cli media [list] [--json]\n"
                          "       quorvane-cli media show ID [--json]\n"
                          "       quorvane-cli media rename ID LABEL\n"
                          "       quorvane-cli media group ID GROUP\n"
                          "       quorvane-cli media delete ID [--yes]\n"
                          "\n"
                          "list    the catalogued media with their statistics, by label\n"
                          "show    one medium with its statistics\n"
                          "rename  give a medium another label (no other medium may have it)\n"
                          "group   put a medium into a group (\"\" takes it out of its group)\n"
                          "delete  remove a medium and everything catalogued on it; asks for\n"
                          "        confirmation on a terminal, refuses without --yes elsewhere\n";

QString sizeText(Main& main, double bytes) {
    return main.FormatSize(bytes).Formatted;
}

int list(const ParsedArgs& a) {
    CatalogueSession session;
    const MediaList media = session.main().get_Medias(true);
    if (a.has(QStringLiteral("json"))) {
        QJsonArray array;
        for (const Media& m : media)
            array.append(mediaJson(m, true));
        printJson(QJsonDocument(array));
        return ExitOk;
    }
    QList<QStringList> rows;
    for (const Media& m : media)
        rows.append({QString::number(m.id), m.Label, m.Group,
                     session.main().get_MediaTypeSTR(m.Type),
                     QString::number(m.Statistics.NumberOfFiles, 'f', 0),
                     QString::number(m.Statistics.NumberOfDirectories, 'f', 0),
                     sizeText(session.main(), m.Statistics.FilesSize * 1024000.0)});
    printTable({QStringLiteral("ID"), QStringLiteral("LABEL"), QStringLiteral("GROUP"),
                QStringLiteral("TYPE"), QStringLiteral("FILES"), QStringLiteral("FOLDERS"),
                QStringLiteral("SIZE")},
               rows);
    return ExitOk;
}

int show(const ParsedArgs& a, qint32 id) {
    CatalogueSession session;
    const Media m = requireMedia(session, id);
    if (a.has(QStringLiteral("json"))) {
        printJson(QJsonDocument(mediaJson(m, true)));
        return ExitOk;
    }
    Main& main = session.main();
    const QList<QStringList> rows{
        {QStringLiteral("ID:"), QString::number(m.id)},
        {QStringLiteral("Label:"), m.Label},
        {QStringLiteral("Group:"), m.Group},
        {QStringLiteral("Description:"), m.Description},
        {QStringLiteral("Type:"), main.get_MediaTypeSTR(m.Type)},
        {QStringLiteral("Serial number:"), m.SerialNumber},
        {QStringLiteral("File system:"), m.PartitionType},
        {QStringLiteral("Network drive:"),
         m.IsNetworkDrive ? QStringLiteral("yes") : QStringLiteral("no")},
        {QStringLiteral("Code:"), m.EAN13},
        {QStringLiteral("Capacity:"), sizeText(main, m.Space_Capacity)},
        {QStringLiteral("Used:"), sizeText(main, m.Space_Used)},
        {QStringLiteral("Free:"), sizeText(main, m.Space_Free)},
        {QStringLiteral("Files:"), QString::number(m.Statistics.NumberOfFiles, 'f', 0)},
        {QStringLiteral("Folders:"), QString::number(m.Statistics.NumberOfDirectories, 'f', 0)},
        {QStringLiteral("Size of files:"), sizeText(main, m.Statistics.FilesSize * 1024000.0)},
        {QStringLiteral("Average file size:"), sizeText(main, m.Statistics.FilesSizeAverage)},
    };
    QString text;
    for (const QStringList& r : rows)
        text += r.at(0).leftJustified(19) + r.at(1) + QLatin1Char('\n');
    printOut(text);
    return ExitOk;
}

// Whether the user confirms on a terminal; never on a pipe or a script.
bool confirmOnTerminal(const Media& m) {
    if (!isatty(fileno(stdin)) || !isatty(fileno(stderr)))
        return false;
    std::fprintf(stderr, "Delete medium %d \"%s\" and everything catalogued on it? [y/N] ", m.id,
                 m.Label.toUtf8().constData());
    std::fflush(stderr);
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    return answer[0] == 'y' || answer[0] == 'Y';
}

int remove(const ParsedArgs& a, qint32 id) {
    CatalogueSession session;
    const Media m = requireMedia(session, id);
    if (!a.has(QStringLiteral("yes")) && !confirmOnTerminal(m))
        throw UsageError(QStringLiteral("not deleted: confirm with --yes"));
    session.main().delete_Media(id);
    if (mediaExists(session, id))
        throw WorkError(withSdkReason(QStringLiteral("medium %1 was not deleted").arg(id)));
    printMessage(QStringLiteral("deleted medium %1 \"%2\"").arg(id).arg(m.Label));
    return ExitOk;
}

} // namespace

int runMedia(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("json")}, {QStringLiteral("yes")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    const QStringList& p = a.positionals;
    const QString action = p.isEmpty() ? QStringLiteral("list") : p.first();
    auto expect = [&](qsizetype count) {
        if (p.size() != count)
            throw UsageError(
                QStringLiteral("media %1: wrong number of arguments (try --help)").arg(action));
    };
    if (action == QLatin1String("list")) {
        expect(p.isEmpty() ? 0 : 1);
        return list(a);
    }
    if (action == QLatin1String("show")) {
        expect(2);
        return show(a, parseId(p.at(1), QStringLiteral("ID")));
    }
    if (action == QLatin1String("rename")) {
        expect(3);
        return renameMedia(parseId(p.at(1), QStringLiteral("ID")), p.at(2));
    }
    if (action == QLatin1String("group")) {
        expect(3);
        return regroupMedia(parseId(p.at(1), QStringLiteral("ID")), p.at(2));
    }
    if (action == QLatin1String("delete")) {
        expect(2);
        return remove(a, parseId(p.at(1), QStringLiteral("ID")));
    }
    throw UsageError(QStringLiteral("unknown media action \"%1\" (try --help)").arg(action));
}

} // namespace QuorvaneCli
