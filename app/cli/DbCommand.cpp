// db info | check | upgrade | compact | purge-previews | use

#include "CatalogueSession.h"
#include "CliErrors.h"
#include "Commands.h"
#include "DbCommands.h"
#include "Output.h"

#include "foundation/BaseFolder.h"
#include "foundation/DatabaseConnection.h"
#include "foundation/Impostazioni.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kHelp =
    "Usage: quorvane-cli db info [--json]\n"
    "       quorvane-cli db check [--json]\n"
    "       quorvane-cli db upgrade\n"
    "       quorvane-cli db compact\n"
    "       quorvane-cli db purge-previews [--text|--images]\n"
    "       quorvane-cli db use sqlite PATH [--create]\n"
    "       quorvane-cli db use postgresql HOST[:PORT] DATABASE USER [--password-stdin]\n"
    "\n"
    "info            which catalogue is used, where, and what it holds\n"
    "check           whether the catalogue answers and its tables are whole\n"
    "upgrade         run the schema upgrades the catalogue has not had yet\n"
    "compact         give back unused space (SQLite keeps the old file as .bak)\n"
    "purge-previews  delete the stored previews (both kinds unless one is named)\n"
    "use             switch to another catalogue; the new one is tested (and\n"
    "                brought up to date) before Database.ini is changed.\n"
    "                --create makes a new SQLite catalogue file; the password of\n"
    "                a PostgreSQL user is read from the first line of stdin.\n";

} // namespace

int dbInfo(const ParsedArgs& a) {
    Database db;
    DatabaseConnection().set_DBParameters(db);
    QJsonObject o{{QStringLiteral("Engine"), Database::lookUp_DataBaseName(db.get_DBPredefinito())},
                  {QStringLiteral("HostPath"), db.get_DBHostPath()},
                  {QStringLiteral("ConnectionString"), db.get_ConnectionString(true)},
                  {QStringLiteral("BaseFolder"), baseFolder()},
                  {QStringLiteral("DatabaseIni"), DatabaseConnection::settingsFile()},
                  {QStringLiteral("QuorvaneIni"), Impostazioni::settingsFile()}};
    if (db.get_DBPredefinito() == SqlSyntax::SqlServer) {
        o.insert(QStringLiteral("DatabaseName"), db.get_DBName());
        o.insert(QStringLiteral("UserName"), db.get_DBUserName());
    }
    bool reachable = false;
    try {
        CatalogueSession session(false);
        reachable = true;
        std::optional<Recordset> rs = session.db().get_Recordset(
            QStringLiteral("SELECT (SELECT count(*) FROM Media) AS M, (SELECT count(*) FROM Files "
                           "WHERE FileName <> '##nullfile##') AS F, (SELECT count(*) FROM "
                           "FilesContained) AS C"),
            QStringLiteral("quorvane-cli.db_info"), true);
        if (rs && rs->RecordCount() > 0) {
            rs->MoveFirst();
            o.insert(QStringLiteral("Media"), rs->toLongLong(QStringLiteral("M")));
            o.insert(QStringLiteral("Files"), rs->toLongLong(QStringLiteral("F")));
            o.insert(QStringLiteral("ContainedFiles"), rs->toLongLong(QStringLiteral("C")));
        }
    } catch (const WorkError& e) {
        o.insert(QStringLiteral("Problem"), e.message());
    }
    o.insert(QStringLiteral("Reachable"), reachable);
    if (a.has(QStringLiteral("json"))) {
        printJson(QJsonDocument(o));
    } else {
        QString text;
        for (auto it = o.constBegin(); it != o.constEnd(); ++it)
            text += (it.key() + QLatin1Char(':')).leftJustified(18) +
                    it.value().toVariant().toString() + QLatin1Char('\n');
        printOut(text);
    }
    return reachable ? ExitOk : ExitFailed;
}

int runDb(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("json")},
                                          {QStringLiteral("text")},
                                          {QStringLiteral("images")},
                                          {QStringLiteral("create")},
                                          {QStringLiteral("password-stdin")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    if (a.positionals.isEmpty())
        throw UsageError(QStringLiteral("db needs an action (try --help)"));
    const QString action = a.positionals.first();
    struct Action {
        const char* name;
        int (*run)(const ParsedArgs&);
        QStringList options; // the options this action takes
    };
    const QList<Action> actions{
        {"info", dbInfo, {QStringLiteral("json")}},
        {"check", dbCheck, {QStringLiteral("json")}},
        {"upgrade", dbUpgrade, {}},
        {"compact", dbCompact, {}},
        {"purge-previews", dbPurgePreviews, {QStringLiteral("text"), QStringLiteral("images")}},
        {"use", dbUse, {QStringLiteral("create"), QStringLiteral("password-stdin")}}};
    for (const Action& act : actions) {
        if (action != QLatin1String(act.name))
            continue;
        for (const QString& given : a.switches)
            if (!act.options.contains(given))
                throw UsageError(QStringLiteral("db %1 does not take --%2").arg(action, given));
        if (action != QLatin1String("use") && a.positionals.size() != 1)
            throw UsageError(QStringLiteral("db %1 takes no arguments (try --help)").arg(action));
        return act.run(a);
    }
    throw UsageError(QStringLiteral("unknown db action \"%1\" (try --help)").arg(action));
}

} // namespace QuorvaneCli
