#include "catalogue/HotStatements.h"

#include "foundation/Database.h"

namespace QuorvaneSDK {

bool DatabaseWatch::isWatching(const Database& db) const {
    return m_db == &db && !m_alive.expired();
}

DatabaseWatch::~DatabaseWatch() {
    release();
}

void DatabaseWatch::release() {
    if (m_db && !m_alive.expired())
        m_db->removeRollbackListener(m_listenerId);
    m_db = nullptr;
    m_alive.reset();
}

void DatabaseWatch::watch(Database& db, std::function<void()> onRollback) {
    release();
    auto token = std::make_shared<int>(0);
    // The database owns the listener and drops the token with it when it
    // is destroyed.
    m_listenerId = db.addRollbackListener([token, onRollback = std::move(onRollback)] {
        if (onRollback)
            onRollback();
    });
    m_alive = token;
    m_db = &db;
}

PreparedStatement& HotStatements::statement(Database& db, int slot, const QString& sql,
                                            const QString& routine, const QString& keyColumn) {
    if (!m_watch.isWatching(db)) {
        m_statements.clear();
        m_watch.watch(db);
    }
    auto it = m_statements.find(slot);
    if (it == m_statements.end())
        it = m_statements.emplace(slot, db.prepare(sql, routine, keyColumn)).first;
    return it->second;
}

} // namespace QuorvaneSDK
