#include "foundation/BatchScope.h"

#include "foundation/Database.h"

namespace QuorvaneSDK {

BatchScope::BatchScope(Database& database) : m_database(database) {
    m_active = m_database.beginBatch();
}

BatchScope::~BatchScope() {
    rollback();
}

bool BatchScope::commit() {
    if (!m_active)
        return false;
    m_active = false;
    return m_database.commitBatch();
}

void BatchScope::rollback() {
    if (!m_active)
        return;
    m_active = false;
    m_database.rollbackBatch();
}

} // namespace QuorvaneSDK
