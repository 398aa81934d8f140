#include "CatalogueSession.h"

#include "CliErrors.h"

#include "foundation/DatabaseConnection.h"
#include "foundation/FirstStart.h"
#include "foundation/Messages.h"
#include "foundation/SchemaUpgrade.h"

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

QString& lastError() {
    static QString text;
    return text;
}

} // namespace

void watchSdkErrors() {
    QObject::connect(&Messages::shared(), &Messages::Errors,
                     [](ErrorObject& error, const QString&, const QString&, const QString&, bool,
                        const QString&) { lastError() = error.Description.simplified(); });
    QObject::connect(&Messages::shared(), &Messages::Message,
                     [](const QString& text, MessageType priority) {
                         if (priority != MessageType::Normal)
                             lastError() = text.simplified();
                     });
}

QString lastSdkError() {
    return lastError();
}

void clearSdkError() {
    lastError().clear();
}

QString withSdkReason(const QString& what) {
    const QString reason = lastSdkError();
    return reason.isEmpty() ? what : what + QStringLiteral(": ") + reason;
}

void quietServerNotices(Database& db) {
    if (db.get_DBPredefinito() == SqlSyntax::SqlServer)
        db.execute_Sql(QStringLiteral("SET client_min_messages TO WARNING"),
                       QStringLiteral("quorvane-cli.quietServerNotices"), false);
}

QString describeCatalogue(const Database& db) {
    if (db.get_DBPredefinito() == SqlSyntax::SqlServer)
        return QStringLiteral("PostgreSQL database %1 on %2 as %3")
            .arg(db.get_DBName(), db.get_DBHostPath(), db.get_DBUserName());
    return QStringLiteral("SQLite file %1").arg(db.get_DBHostPath());
}

CatalogueSession::CatalogueSession(bool applyUpgrades) : m_db(std::make_unique<Database>()) {
    DatabaseConnection().set_DBParameters(*m_db);
    createDefaultCatalogueIfMissing(*m_db);
    clearSdkError();
    // The connection first: a fresh catalogue has no tables for the test
    // query until its upgrades ran.
    if (!m_db->get_EmptyRecordSet(true))
        throw WorkError(withSdkReason(
            QStringLiteral("cannot open the catalogue (%1)").arg(describeCatalogue(*m_db))));
    quietServerNotices(*m_db);
    if (applyUpgrades) {
        const SchemaUpgrade::Outcome outcome = SchemaUpgrade(*m_db).run();
        if (!outcome.ok())
            throw WorkError(QStringLiteral("cannot bring the catalogue up to date: %1%2")
                                .arg(outcome.failedScript.isEmpty()
                                         ? QString()
                                         : outcome.failedScript + QStringLiteral(": "),
                                     outcome.error.simplified()));
        clearSdkError();
        if (!m_db->test_Connection())
            throw WorkError(withSdkReason(
                QStringLiteral("cannot use the catalogue (%1)").arg(describeCatalogue(*m_db))));
    }
    m_main = std::make_unique<Main>();
}

CatalogueSession::~CatalogueSession() = default;

} // namespace QuorvaneCli
