// db check, db upgrade, db compact, db purge-previews.

#include "CatalogueSession.h"
#include "CliErrors.h"
#include "DbCommands.h"
#include "Output.h"

#include "foundation/SchemaUpgrade.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kTables[] = {"Media",
                               "Files",
                               "FilesContained",
                               "Mp3TagsFile",
                               "Mp3TagsFileContained",
                               "PreviewFile",
                               "PreviewFileContained",
                               "Words",
                               "WordsFileIndex",
                               "WordsFileContainedIndex",
                               "t3"};

// SQLite's own check of the file; "ok" when whole. Empty on PostgreSQL,
// whose server keeps its files whole itself.
QString sqliteIntegrity(Database& db) {
    if (db.get_DBPredefinito() != SqlSyntax::Access2000)
        return QString();
    std::optional<Recordset> rs = db.get_Recordset(QStringLiteral("PRAGMA integrity_check"),
                                                   QStringLiteral("quorvane-cli.db_check"), true);
    if (!rs || rs->RecordCount() == 0)
        return QStringLiteral("cannot be run");
    QStringList lines;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        lines.append(rs->value(0).toString());
    return lines.join(QStringLiteral("; "));
}

qint64 count(Database& db, const QString& table, qint32 type) {
    std::optional<Recordset> rs = db.get_Recordset(
        QStringLiteral("SELECT count(*) AS N FROM %1 WHERE Type = %2").arg(table).arg(type),
        QStringLiteral("quorvane-cli.purge_Previews"));
    if (!rs || rs->RecordCount() == 0)
        throw WorkError(withSdkReason(QStringLiteral("cannot count the previews")));
    rs->MoveFirst();
    return rs->toLongLong(QStringLiteral("N"));
}

} // namespace

int dbCheck(const ParsedArgs& a) {
    CatalogueSession session(false);
    Database& db = session.db();
    QJsonObject tables;
    bool whole = true;
    for (const char* t : kTables) {
        const QString table = QString::fromLatin1(t);
        const bool ok = db.IsDatabaseReadyFor(QStringLiteral("SELECT count(*) FROM %1").arg(table));
        tables.insert(table, ok);
        whole = whole && ok;
    }
    const QString integrity = sqliteIntegrity(db);
    if (!integrity.isEmpty() && integrity != QLatin1String("ok"))
        whole = false;
    if (a.has(QStringLiteral("json"))) {
        QJsonObject o{{QStringLiteral("Catalogue"), describeCatalogue(db)},
                      {QStringLiteral("Tables"), tables},
                      {QStringLiteral("Ok"), whole}};
        if (!integrity.isEmpty())
            o.insert(QStringLiteral("Integrity"), integrity);
        printJson(QJsonDocument(o));
    } else {
        QString text = QStringLiteral("catalogue: %1\n").arg(describeCatalogue(db));
        for (auto it = tables.constBegin(); it != tables.constEnd(); ++it)
            text +=
                QStringLiteral("table %1: %2\n")
                    .arg(it.key(), it.value().toBool() ? QStringLiteral("ok")
                                                       : QStringLiteral("MISSING OR UNREADABLE"));
        if (!integrity.isEmpty())
            text += QStringLiteral("integrity: %1\n").arg(integrity);
        printOut(text);
    }
    if (!whole)
        throw WorkError(QStringLiteral("the catalogue has problems (see above)"));
    return ExitOk;
}

int dbUpgrade(const ParsedArgs&) {
    CatalogueSession session(false);
    const SchemaUpgrade::Outcome outcome = SchemaUpgrade(session.db()).run();
    for (const QString& s : outcome.applied)
        printOut(QStringLiteral("applied %1").arg(s));
    if (!outcome.ok())
        throw WorkError(QStringLiteral("upgrade %1 failed: %2")
                            .arg(outcome.failedScript, outcome.error.simplified()));
    if (outcome.applied.isEmpty())
        printMessage(QStringLiteral("the catalogue is up to date"));
    return ExitOk;
}

int dbCompact(const ParsedArgs&) {
    CatalogueSession session(false);
    clearSdkError();
    if (!session.db().CompactRepairDatabase())
        throw WorkError(withSdkReason(QStringLiteral("cannot compact the catalogue")));
    printMessage(QStringLiteral("compacted %1").arg(describeCatalogue(session.db())));
    return ExitOk;
}

int dbPurgePreviews(const ParsedArgs& a) {
    const bool text = a.has(QStringLiteral("text"));
    const bool images = a.has(QStringLiteral("images"));
    QList<qint32> types;
    if (text || !images)
        types.append(static_cast<qint32>(Preview::Text));
    if (images || !text)
        types.append(static_cast<qint32>(Preview::Image));
    CatalogueSession session;
    Database& db = session.db();
    qint64 removed = 0;
    for (const QString& table :
         {QStringLiteral("PreviewFile"), QStringLiteral("PreviewFileContained")}) {
        for (qint32 type : types) {
            const qint64 n = count(db, table, type);
            clearSdkError();
            if (db.execute_Sql(
                      QStringLiteral("DELETE FROM %1 WHERE Type = %2").arg(table).arg(type),
                      QStringLiteral("quorvane-cli.purge_Previews"))
                    .Number != 0)
                throw WorkError(withSdkReason(QStringLiteral("cannot delete the previews")));
            removed += n;
        }
    }
    printOut(QStringLiteral("%1 previews deleted").arg(removed));
    return ExitOk;
}

} // namespace QuorvaneCli
