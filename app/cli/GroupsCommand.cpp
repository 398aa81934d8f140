// groups: the groups of the media.

#include "ArgParser.h"
#include "CatalogueSession.h"
#include "CliErrors.h"
#include "Commands.h"
#include "Output.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace QuorvaneCli {

namespace {

const char* const kHelp = "Usage: quorvane-cli groups [--json]\n"
                          "\n"
                          "The groups of the catalogued media, one a line, by name.\n";

} // namespace

int runGroups(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("json")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    if (!a.positionals.isEmpty())
        throw UsageError(QStringLiteral("groups takes no arguments (try --help)"));
    CatalogueSession session;
    const QStringList groups = session.main().get_MediaGroups();
    if (a.has(QStringLiteral("json")))
        printJson(QJsonDocument(QJsonArray::fromStringList(groups)));
    else if (!groups.isEmpty())
        printOut(groups.join(QLatin1Char('\n')));
    return ExitOk;
}

} // namespace QuorvaneCli
