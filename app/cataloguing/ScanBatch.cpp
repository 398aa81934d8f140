#include "ScanBatch.h"

#include "foundation/Database.h"

namespace QuorvaneCataloguing {

ScanBatch::ScanBatch(QuorvaneSDK::Database& database) : m_database(database) {
    open();
}

ScanBatch::~ScanBatch() {
    finish();
}

void ScanBatch::open() {
    m_scope.emplace(m_database);
    m_rows = 0;
    m_timer.start();
}

void ScanBatch::wrote(int rows) {
    if (!m_scope)
        return;
    m_rows += rows;
    if (m_rows < kMaxRows && m_timer.elapsed() < kMaxMs)
        return;
    finish();
    open();
}

void ScanBatch::finish() {
    if (!m_scope)
        return;
    if (m_scope->isActive()) {
        m_scope->commit();
        ++m_commits;
    }
    m_scope.reset();
}

} // namespace QuorvaneCataloguing
