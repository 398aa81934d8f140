#pragma once
// The catalogue that Database.ini selects, opened for one command: the
// stored connection applied, the default SQLite file made on a fresh
// installation, the connection tested and pending schema upgrades applied
// (as the program does at start). Throws WorkError when it cannot be used.

#include "catalogue/Main.h"
#include "foundation/Database.h"

#include <memory>

namespace QuorvaneCli {

class CatalogueSession {
public:
    explicit CatalogueSession(bool applyUpgrades = true);
    ~CatalogueSession();

    QuorvaneSDK::Database& db() { return *m_db; }
    QuorvaneSDK::Main& main() { return *m_main; }

private:
    std::unique_ptr<QuorvaneSDK::Database> m_db;
    std::unique_ptr<QuorvaneSDK::Main> m_main;
};

// Keeps the server's notices (such as "relation already exists" from the
// upgrade scripts' guards) off the terminal; errors still come back.
void quietServerNotices(QuorvaneSDK::Database& db);

// "SQLite file /x/Dati.sqlite" or "PostgreSQL database Q on host:port as user".
QString describeCatalogue(const QuorvaneSDK::Database& db);

// Starts remembering the description of the SDK's reported errors.
void watchSdkErrors();
// The description of the last error the SDK reported ("" when none), and
// forgetting it.
QString lastSdkError();
void clearSdkError();
// "what: the SDK's reason", or just "what" when the SDK gave none.
QString withSdkReason(const QString& what);

} // namespace QuorvaneCli
