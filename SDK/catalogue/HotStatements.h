#pragma once
// Prepared statements of one store, kept for the database they were
// prepared on and prepared again when the current database changes (or the
// one they belonged to is gone, even if a new object took its address).

#include "foundation/PreparedStatement.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace QuorvaneSDK {

class Database;

// Tells whether a Database object is still the one seen before: a token is
// handed to the database (as a rollback listener it owns) and expires when
// the database is destroyed.
class DatabaseWatch {
public:
    DatabaseWatch() = default;
    // Takes its listener back from a database that still lives.
    ~DatabaseWatch();
    DatabaseWatch(const DatabaseWatch&) = delete;
    DatabaseWatch& operator=(const DatabaseWatch&) = delete;

    // True when `db` is the same living object as at the last watch().
    bool isWatching(const Database& db) const;
    // onRollback runs after every batch rollback of that database.
    void watch(Database& db, std::function<void()> onRollback = {});

private:
    void release();

    Database* m_db = nullptr;
    int m_listenerId = 0;
    std::weak_ptr<int> m_alive;
};

class HotStatements {
public:
    // The statement of `slot` on `db`, prepared on first use.
    PreparedStatement& statement(Database& db, int slot, const QString& sql, const QString& routine,
                                 const QString& keyColumn = QString());

private:
    DatabaseWatch m_watch;
    std::map<int, PreparedStatement> m_statements;
};

} // namespace QuorvaneSDK
