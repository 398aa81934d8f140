#pragma once
// Dialect defaults that depend on the installation.

#include "foundation/Enums.h"
#include "foundation/Records.h"

#include <QString>

namespace QuorvaneSDK {

class Database;

class Database_Local {
public:
    explicit Database_Local(Database& database) : m_database(database) {}

    // SqlServer: "Quorvane"; Access2000: ""; 99 = the dialect of the database.
    QString get_defaultDBName(SqlSyntax DBType = SqlSyntax::nondefinito) const;

    // Compacts the server catalogue: VACUUM (FULL, ANALYZE), run outside a
    // transaction (the server refuses it inside one).
    ErrorObject CompactRepairDatabase_SqlServer(const QString& callerClassName);

private:
    Database& m_database;
};

} // namespace QuorvaneSDK
