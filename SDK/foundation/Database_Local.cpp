#include "foundation/Database_Local.h"

#include "foundation/Database.h"

namespace QuorvaneSDK {

QString Database_Local::get_defaultDBName(SqlSyntax DBType) const {
    if (DBType == SqlSyntax::nondefinito)
        DBType = m_database.get_DBPredefinito();
    switch (DBType) {
    case SqlSyntax::SqlServer:
        return QStringLiteral("Quorvane");
    default:
        return QString();
    }
}

ErrorObject Database_Local::CompactRepairDatabase_SqlServer(const QString& callerClassName) {
    const QString previous = m_database.get_ClassName();
    m_database.set_CLassName(callerClassName);
    ErrorObject result = m_database.execute_Sql(
        QStringLiteral("VACUUM (FULL, ANALYZE)"),
        QStringLiteral("Database.CompactRepairDatabase_SqlServer"), false, 0);
    m_database.set_CLassName(previous);
    Database::WaitAndDoEventsMill(50);
    return result;
}

} // namespace QuorvaneSDK
