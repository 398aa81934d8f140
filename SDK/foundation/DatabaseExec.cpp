// Connection handling, statements, queries and batches of Database.
#include "foundation/Database.h"

#include "foundation/DatabaseImpl.h"

namespace QuorvaneSDK {

void Database::closeConnection() {
    if (!QSqlDatabase::contains(d->connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(d->connectionName, false);
        if (db.isOpen())
            db.close();
    }
    d->open = false;
    d->statementTimeoutMs = -1;
}

} // namespace QuorvaneSDK

// Interim bodies: the statement layer follows in the next commit.
namespace QuorvaneSDK {
ErrorObject Database::execute_Sql(const QString&, const QString&, bool, qint16) {
    ErrorObject e;
    e.Number = -1;
    e.Description = QStringLiteral("not available yet");
    return e;
}
std::optional<Recordset> Database::get_Recordset(const QString&, const QString&, bool) {
    return std::nullopt;
}
std::optional<Recordset> Database::get_EmptyRecordSet(bool) {
    return std::nullopt;
}
bool Database::IsDatabaseReadyFor(const QString&) {
    return false;
}
bool Database::test_Connection() {
    return false;
}
bool Database::beginBatch() {
    return false;
}
bool Database::commitBatch() {
    return false;
}
void Database::rollbackBatch() {
}
int Database::batchDepth() const {
    return d->batchDepth;
}
int Database::addRollbackListener(std::function<void()>) {
    return 0;
}
void Database::removeRollbackListener(int) {
}
bool Database::CompactRepairDatabase() {
    return false;
}
bool Database::createCatalogueFile(const QString&) {
    return false;
}
} // namespace QuorvaneSDK
